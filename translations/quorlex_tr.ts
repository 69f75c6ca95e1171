<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>Collation</name>
    <message>
        <source>The sort order cannot be loaded</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>Text exceeds memo capacity</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExtractionScript</name>
    <message>
        <source>%1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start position is too big for that line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop position is too big for that line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop position must be bigger than start position</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FetchProgress</name>
    <message>
        <source>Fetching</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes received</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page is bigger than %1: only its first %2 bytes were fetched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileSave</name>
    <message>
        <source>The old text could not be kept aside first:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The old text is kept in &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntegerConversion</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeyPressSimulator</name>
    <message>
        <source>Open a text file first.<byte value="xd"/>Then click KeyPress Simulator and press random keys.<byte value="xd"/>And let Quorlex write the text correctly.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtDialogs</name>
    <message>
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Regex</name>
    <message>
        <source>Invalid regular expression at %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The regular expression search stopped: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The replacement names group %1, which the regular expression does not have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The replacement has a ${ without its }</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Quorlex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This program is freeware.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Site:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thank you for using it!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mailto %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAnalyzetext</name>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unique Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unique Chars</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nimbus Sans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DejaVu Sans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Char Frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Word Frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Word-list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy All as CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Words to Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy All to Clipboard as CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Char</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Word</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAppForm</name>
    <message>
        <source>Search String Not Found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 occurrences replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KeyPress Simulator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encoding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Windows-1254</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the document as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reopen as Windows-&amp;1254</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the file again as Windows-1254 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reopen as UTF-&amp;8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the file again as UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot reopen %1 as UTF-8. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the current file before exit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the current file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save %1 before exit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Noname</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Line Breaks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Windows (CR LF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the line breaks as CR LF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Unix (LF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the line breaks as LF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a file used lately</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty the list of recent files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restored %1; %2 was not opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an untitled document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened or saved. Overwrite it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was deleted or moved by another program. The text is still here; Save writes the file again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program. Reload it and lose your changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program. Reload it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Printer not found!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New|Create a new file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open|Open a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save|Save current file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print|Print current file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview|Show the pages as Print would print them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Set&amp;up...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Setup|Display Print Setup dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As|Save current file with a new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit|Exit application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo|Revert the last action</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R&amp;edo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo|Redo the last undone action</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut|Cut the selection and put it on the Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy|Copy the selection and put it on the Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste|Insert Clipboard contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete|Erase the selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All|Select the entire document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find|Find a string in the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace|Replace a string in the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go To Line...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go To Line|Move the caret to a line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;WordWrap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WordWrap|Wrap the lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status Bar|Display or hide Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tool Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool Bar|Display or hide Tool Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Screen|Full Screen mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In|Make the text larger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out|Make the text smaller</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reset Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Zoom|Show the text in its font&apos;s own size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Background Color...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color|Change the background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Font Properties...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Properties|Change the font properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo &amp;History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo History|Keep every change for Undo and Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyze Text...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyze|Analyze the text statistically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Extract Text...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract Text|Extract something from the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Generate Word List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To Beginning Of Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To End Of Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;KeyPress Simulator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KeyPress Simulator|Press random keys and write the text correctly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Randomize Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separate Lines...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Version History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version History|Display the version history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About|Display program information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File related commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View related commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options related commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xtra!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extra features</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Date|Add date to the document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make &amp;Lowercase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make Lowercase|Make the text lowercase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make &amp;Uppercase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make Uppercase|Make the text uppercase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help related commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TExtract</name>
    <message>
        <source>Extract Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TGoToLineDialog</name>
    <message>
        <source>Go To Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Line number (1 - %1):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a line number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a line number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no line %1: the lines run from 1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TMemo</name>
    <message>
        <source>Document</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TRecovery</name>
    <message>
        <source>Unsaved changes cannot be protected: %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorlex did not close normally last time. A recovery copy of %1, last changed %2, was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an untitled document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> It is damaged: %1 of its %2 bytes are there, and Restore gives those back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Restore it? Discard deletes the copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. The copy is damaged; it was set aside as &quot;%1.damaged&quot; and is not offered again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. The copy is damaged; it could not be set aside.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSeparate</name>
    <message>
        <source>Separate Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Between lines:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert To Beginning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert To End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Cannot open &quot;%1&quot; as UTF-8. %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Utf8Text</name>
    <message>
        <source>The file is not valid UTF-8 (at byte %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds characters that Windows-1254 cannot hold (at byte %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no characters beyond ASCII.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: quorlex [FILE]
       quorlex --help | --version

Quorlex %1, a plain-text editor for 8-bit text files (Windows-1254).
All arguments together name the one file to open, so a name with blanks may be given
without quotes.

Settings (settings.ini) and the last extraction script (extractform.txt) are kept in
$XDG_CONFIG_HOME/quorlex, working files in $XDG_CACHE_HOME/quorlex. When QUORLEX_HOME
names a folder, or the program&apos;s own folder is writable, every file is kept there.

See quorlex(1) for more.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
