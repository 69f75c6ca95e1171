<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>Collation</name>
    <message>
        <source>The sort order cannot be loaded</source>
        <translation>Sıralama düzeni yüklenemiyor</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>Text exceeds memo capacity</source>
        <translation>Metin, düzenleyicinin sığasını aşıyor</translation>
    </message>
</context>
<context>
    <name>ExtractionScript</name>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 bulunamadı.</translation>
    </message>
    <message>
        <source>Start position is too big for that line.</source>
        <translation>Başlangıç konumu o satır için çok büyük.</translation>
    </message>
    <message>
        <source>Stop position is too big for that line.</source>
        <translation>Bitiş konumu o satır için çok büyük.</translation>
    </message>
    <message>
        <source>Stop position must be bigger than start position</source>
        <translation>Bitiş konumu başlangıç konumundan büyük olmalı</translation>
    </message>
</context>
<context>
    <name>FetchProgress</name>
    <message>
        <source>Fetching</source>
        <translation>İndiriliyor</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>%1 bytes received</source>
        <translation>%1 bayt alındı</translation>
    </message>
    <message>
        <source>The page is bigger than %1: only its first %2 bytes were fetched.</source>
        <translation>Sayfa %1 boyutundan büyük: yalnızca ilk %2 baytı alındı.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Unknown error</source>
        <translation>Bilinmeyen hata</translation>
    </message>
    <message>
        <source>Cannot create file</source>
        <translation>Dosya oluşturulamıyor</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Olağan bir dosya değil</translation>
    </message>
    <message>
        <source>Cannot open file</source>
        <translation>Dosya açılamıyor</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>Dosyaya yazılamıyor</translation>
    </message>
</context>
<context>
    <name>FileSave</name>
    <message>
        <source>The old text could not be kept aside first:</source>
        <translation>Eski metin önce bir kenara alınamadı:</translation>
    </message>
    <message>
        <source>The old text is kept in &quot;%1&quot;</source>
        <translation>Eski metin &quot;%1&quot; dosyasında saklanıyor</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>%1 dosyasına yazılamıyor</translation>
    </message>
</context>
<context>
    <name>IntegerConversion</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; geçerli bir tamsayı değeri değil</translation>
    </message>
</context>
<context>
    <name>KeyPressSimulator</name>
    <message>
        <source>Open a text file first.<byte value="xd"/>Then click KeyPress Simulator and press random keys.<byte value="xd"/>And let Quorlex write the text correctly.</source>
        <translation>Önce bir metin dosyası açın.<byte value="xd"/>Sonra Tuş Simülatörü&apos;ne tıklayıp rastgele tuşlara basın.<byte value="xd"/>Metni Quorlex doğru yazsın.</translation>
    </message>
</context>
<context>
    <name>QtDialogs</name>
    <message>
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>Metin Dosyaları (*.txt);;Tüm Dosyalar (*)</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Onay</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Aç</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Farklı Kaydet</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Bilgi</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Baskı Önizleme</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Geri Yükle</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Sil</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Daha Sonra</translation>
    </message>
</context>
<context>
    <name>Regex</name>
    <message>
        <source>Invalid regular expression at %1: %2</source>
        <translation>Düzenli ifade %1 konumunda geçersiz: %2</translation>
    </message>
    <message>
        <source>The regular expression search stopped: %1</source>
        <translation>Düzenli ifade araması durdu: %1</translation>
    </message>
    <message>
        <source>The replacement names group %1, which the regular expression does not have</source>
        <translation>Yerine konacak metin %1 grubunu anıyor, ama düzenli ifadede böyle bir grup yok</translation>
    </message>
    <message>
        <source>The replacement has a ${ without its }</source>
        <translation>Yerine konacak metinde kapanmayan bir ${ var</translation>
    </message>
</context>
<context>
    <name>SaveProgress</name>
    <message>
        <source>Saving</source>
        <translation>Kaydediliyor</translation>
    </message>
    <message>
        <source>%1 of %2 bytes written</source>
        <translation>%1 / %2 bayt yazıldı</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Quorlex</source>
        <translation>Quorlex Hakkında</translation>
    </message>
    <message>
        <source>This program is freeware.</source>
        <translation>Bu program ücretsizdir.</translation>
    </message>
    <message>
        <source>Web Site:</source>
        <translation>Web Sitesi:</translation>
    </message>
    <message>
        <source>E-mail:</source>
        <translation>E-posta:</translation>
    </message>
    <message>
        <source>Thank you for using it!</source>
        <translation>Kullandığınız için teşekkürler!</translation>
    </message>
    <message>
        <source>Mailto %1</source>
        <translation>%1 adresine e-posta gönder</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Tamam</translation>
    </message>
</context>
<context>
    <name>TAnalyzetext</name>
    <message>
        <source>Size</source>
        <translation>Boyut</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Satır</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Sözcük</translation>
    </message>
    <message>
        <source>Unique Words</source>
        <translation>Farklı Sözcük</translation>
    </message>
    <message>
        <source>Unique Chars</source>
        <translation>Farklı Karakter</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bayt</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>Analiz</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Genel</translation>
    </message>
    <message>
        <source>Char Frequency</source>
        <translation>Karakter Sıklığı</translation>
    </message>
    <message>
        <source>Word Frequency</source>
        <translation>Sözcük Sıklığı</translation>
    </message>
    <message>
        <source>Copy Word-list</source>
        <translation>Sözcük Listesini Kopyala</translation>
    </message>
    <message>
        <source>Copy All as CSV</source>
        <translation>Tümünü CSV Olarak Kopyala</translation>
    </message>
    <message>
        <source>Copy Words to Clipboard</source>
        <translation>Sözcükleri Panoya Kopyala</translation>
    </message>
    <message>
        <source>Copy All to Clipboard as CSV</source>
        <translation>Tümünü CSV Olarak Panoya Kopyala</translation>
    </message>
    <message>
        <source>Char</source>
        <translation>Karakter</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Kullanım</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Sözcük</translation>
    </message>
</context>
<context>
    <name>TAppForm</name>
    <message>
        <source>Search String Not Found!</source>
        <translation>Aranan Metin Bulunamadı!</translation>
    </message>
    <message>
        <source>%1 occurrences replaced</source>
        <translation>%1 yer değiştirildi</translation>
    </message>
    <message>
        <source>KeyPress Simulator</source>
        <translation>Tuş Simülatörü</translation>
    </message>
    <message>
        <source>&amp;Encoding</source>
        <translation>Kodla&amp;ma</translation>
    </message>
    <message>
        <source>&amp;UTF-8</source>
        <translation>&amp;UTF-8</translation>
    </message>
    <message>
        <source>&amp;Windows-1254</source>
        <translation>&amp;Windows-1254</translation>
    </message>
    <message>
        <source>Save the document as %1</source>
        <translation>Belgeyi %1 olarak kaydet</translation>
    </message>
    <message>
        <source>Reopen as Windows-&amp;1254</source>
        <translation>Windows-&amp;1254 Olarak Yeniden Aç</translation>
    </message>
    <message>
        <source>Read the file again as Windows-1254 bytes</source>
        <translation>Dosyayı Windows-1254 baytları olarak yeniden oku</translation>
    </message>
    <message>
        <source>Reopen as UTF-&amp;8</source>
        <translation>UTF-&amp;8 Olarak Yeniden Aç</translation>
    </message>
    <message>
        <source>Read the file again as UTF-8</source>
        <translation>Dosyayı UTF-8 olarak yeniden oku</translation>
    </message>
    <message>
        <source>Cannot reopen %1 as UTF-8. %2</source>
        <translation>%1 UTF-8 olarak yeniden açılamıyor. %2</translation>
    </message>
    <message>
        <source>Do you want to save the current file before exit?</source>
        <translation>Çıkmadan önce geçerli dosyayı kaydetmek istiyor musunuz?</translation>
    </message>
    <message>
        <source>Do you want to save the current file?</source>
        <translation>Geçerli dosyayı kaydetmek istiyor musunuz?</translation>
    </message>
    <message>
        <source>Do you want to save %1 before exit?</source>
        <translation>Çıkmadan önce %1 dosyasını kaydetmek istiyor musunuz?</translation>
    </message>
    <message>
        <source>Do you want to save %1?</source>
        <translation>%1 dosyasını kaydetmek istiyor musunuz?</translation>
    </message>
    <message>
        <source>Noname</source>
        <translation>Adsız</translation>
    </message>
    <message>
        <source>&amp;Line Breaks</source>
        <translation>Satır So&amp;nları</translation>
    </message>
    <message>
        <source>&amp;Windows (CR LF)</source>
        <translation>&amp;Windows (CR LF)</translation>
    </message>
    <message>
        <source>Save the line breaks as CR LF</source>
        <translation>Satır sonlarını CR LF olarak kaydet</translation>
    </message>
    <message>
        <source>&amp;Unix (LF)</source>
        <translation>&amp;Unix (LF)</translation>
    </message>
    <message>
        <source>Save the line breaks as LF</source>
        <translation>Satır sonlarını LF olarak kaydet</translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Sat %1, Süt %2</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>&amp;Son Kullanılanlar</translation>
    </message>
    <message>
        <source>Open a file used lately</source>
        <translation>Son kullanılan bir dosyayı aç</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>Listeyi &amp;Temizle</translation>
    </message>
    <message>
        <source>Empty the list of recent files</source>
        <translation>Son kullanılan dosyalar listesini boşalt</translation>
    </message>
    <message>
        <source>Restored %1; %2 was not opened</source>
        <translation>%1 geri yüklendi; %2 açılmadı</translation>
    </message>
    <message>
        <source>an untitled document</source>
        <translation>adsız bir belge</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened or saved. Overwrite it?</source>
        <translation>%1, açıldığından ya da kaydedildiğinden beri başka bir program tarafından değiştirildi. Üzerine yazılsın mı?</translation>
    </message>
    <message>
        <source>%1 was deleted or moved by another program. The text is still here; Save writes the file again.</source>
        <translation>%1 başka bir program tarafından silindi ya da taşındı. Metin hâlâ burada; Kaydet dosyayı yeniden yazar.</translation>
    </message>
    <message>
        <source>%1 was changed by another program. Reload it and lose your changes?</source>
        <translation>%1 başka bir program tarafından değiştirildi. Yeniden yüklenip değişiklikleriniz atılsın mı?</translation>
    </message>
    <message>
        <source>%1 was changed by another program. Reload it?</source>
        <translation>%1 başka bir program tarafından değiştirildi. Yeniden yüklensin mi?</translation>
    </message>
    <message>
        <source>Printer not found!</source>
        <translation>Yazıcı bulunamadı!</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Yeni</translation>
    </message>
    <message>
        <source>New|Create a new file</source>
        <translation>Yeni|Yeni bir dosya oluştur</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Aç</translation>
    </message>
    <message>
        <source>Open|Open a file</source>
        <translation>Aç|Bir dosya aç</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Kaydet</translation>
    </message>
    <message>
        <source>Save|Save current file</source>
        <translation>Kaydet|Geçerli dosyayı kaydet</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>Ya&amp;zdır...</translation>
    </message>
    <message>
        <source>Print|Print current file</source>
        <translation>Yazdır|Geçerli dosyayı yazdır</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>&amp;Baskı Önizleme...</translation>
    </message>
    <message>
        <source>Print Preview|Show the pages as Print would print them</source>
        <translation>Baskı Önizleme|Sayfaları Yazdır&apos;ın basacağı gibi göster</translation>
    </message>
    <message>
        <source>Print Set&amp;up...</source>
        <translation>Yazıcı Aya&amp;rları...</translation>
    </message>
    <message>
        <source>Print Setup|Display Print Setup dialog</source>
        <translation>Yazıcı Ayarları|Yazıcı Ayarları penceresini göster</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>&amp;Farklı Kaydet...</translation>
    </message>
    <message>
        <source>Save As|Save current file with a new name</source>
        <translation>Farklı Kaydet|Geçerli dosyayı yeni bir adla kaydet</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Çıkış</translation>
    </message>
    <message>
        <source>Exit|Exit application</source>
        <translation>Çıkış|Uygulamadan çık</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Geri &amp;Al</translation>
    </message>
    <message>
        <source>Undo|Revert the last action</source>
        <translation>Geri Al|Son işlemi geri al</translation>
    </message>
    <message>
        <source>R&amp;edo</source>
        <translation>&amp;Yinele</translation>
    </message>
    <message>
        <source>Redo|Redo the last undone action</source>
        <translation>Yinele|Geri alınan son işlemi yinele</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Kes</translation>
    </message>
    <message>
        <source>Cut|Cut the selection and put it on the Clipboard</source>
        <translation>Kes|Seçimi kes ve panoya koy</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>K&amp;opyala</translation>
    </message>
    <message>
        <source>Copy|Copy the selection and put it on the Clipboard</source>
        <translation>Kopyala|Seçimi kopyala ve panoya koy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Ya&amp;pıştır</translation>
    </message>
    <message>
        <source>Paste|Insert Clipboard contents</source>
        <translation>Yapıştır|Panonun içeriğini ekle</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Sil</translation>
    </message>
    <message>
        <source>Delete|Erase the selection</source>
        <translation>Sil|Seçimi sil</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Tümünü Seç</translation>
    </message>
    <message>
        <source>Select All|Select the entire document</source>
        <translation>Tümünü Seç|Belgenin tamamını seç</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Bul...</translation>
    </message>
    <message>
        <source>Find|Find a string in the text</source>
        <translation>Bul|Metinde bir dizgi bul</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Değiştir...</translation>
    </message>
    <message>
        <source>Replace|Replace a string in the text</source>
        <translation>Değiştir|Metindeki bir dizgiyi değiştir</translation>
    </message>
    <message>
        <source>&amp;Go To Line...</source>
        <translation>Satıra &amp;Git...</translation>
    </message>
    <message>
        <source>Go To Line|Move the caret to a line</source>
        <translation>Satıra Git|İmleci bir satıra taşı</translation>
    </message>
    <message>
        <source>&amp;WordWrap</source>
        <translation>Sö&amp;zcük Kaydırma</translation>
    </message>
    <message>
        <source>WordWrap|Wrap the lines</source>
        <translation>Sözcük Kaydırma|Satırları pencereye sığdır</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Durum Çubuğu</translation>
    </message>
    <message>
        <source>Status Bar|Display or hide Status Bar</source>
        <translation>Durum Çubuğu|Durum çubuğunu göster ya da gizle</translation>
    </message>
    <message>
        <source>&amp;Tool Bar</source>
        <translation>&amp;Araç Çubuğu</translation>
    </message>
    <message>
        <source>Tool Bar|Display or hide Tool Bar</source>
        <translation>Araç Çubuğu|Araç çubuğunu göster ya da gizle</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Tam Ekran</translation>
    </message>
    <message>
        <source>Full Screen|Full Screen mode</source>
        <translation>Tam Ekran|Tam ekran kipi</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Yakınlaştır</translation>
    </message>
    <message>
        <source>Zoom In|Make the text larger</source>
        <translation>Yakınlaştır|Metni büyüt</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Uzaklaştır</translation>
    </message>
    <message>
        <source>Zoom Out|Make the text smaller</source>
        <translation>Uzaklaştır|Metni küçült</translation>
    </message>
    <message>
        <source>&amp;Reset Zoom</source>
        <translation>Yakınlaştırmayı &amp;Sıfırla</translation>
    </message>
    <message>
        <source>Reset Zoom|Show the text in its font&apos;s own size</source>
        <translation>Yakınlaştırmayı Sıfırla|Metni yazı tipinin kendi boyutunda göster</translation>
    </message>
    <message>
        <source>&amp;Background Color...</source>
        <translation>&amp;Arka Plan Rengi...</translation>
    </message>
    <message>
        <source>Background Color|Change the background color</source>
        <translation>Arka Plan Rengi|Arka plan rengini değiştir</translation>
    </message>
    <message>
        <source>&amp;Font Properties...</source>
        <translation>&amp;Yazı Tipi Özellikleri...</translation>
    </message>
    <message>
        <source>Font Properties|Change the font properties</source>
        <translation>Yazı Tipi Özellikleri|Yazı tipinin özelliklerini değiştir</translation>
    </message>
    <message>
        <source>Undo &amp;History</source>
        <translation>Geri Alma &amp;Geçmişi</translation>
    </message>
    <message>
        <source>Undo History|Keep every change for Undo and Redo</source>
        <translation>Geri Alma Geçmişi|Geri Al ve Yinele için her değişikliği sakla</translation>
    </message>
    <message>
        <source>Analyze Text...</source>
        <translation>Metin Analizi...</translation>
    </message>
    <message>
        <source>Analyze|Analyze the text statistically</source>
        <translation>Analiz|Metni istatistiksel olarak çözümle</translation>
    </message>
    <message>
        <source>&amp;Extract Text...</source>
        <translation>&amp;Metin Ayıkla...</translation>
    </message>
    <message>
        <source>Extract Text|Extract something from the text</source>
        <translation>Metin Ayıkla|Metinden bir şeyler ayıkla</translation>
    </message>
    <message>
        <source>Generate Word List</source>
        <translation>Sözcük Listesi Oluştur</translation>
    </message>
    <message>
        <source>To Beginning Of Lines</source>
        <translation>Satır Başlarına</translation>
    </message>
    <message>
        <source>To End Of Lines</source>
        <translation>Satır Sonlarına</translation>
    </message>
    <message>
        <source>&amp;KeyPress Simulator</source>
        <translation>Tuş &amp;Simülatörü</translation>
    </message>
    <message>
        <source>KeyPress Simulator|Press random keys and write the text correctly</source>
        <translation>Tuş Simülatörü|Rastgele tuşlara basın, metin doğru yazılsın</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Tümü</translation>
    </message>
    <message>
        <source>&amp;Selected</source>
        <translation>&amp;Seçili Olan</translation>
    </message>
    <message>
        <source>Randomize Lines</source>
        <translation>Satırları Karıştır</translation>
    </message>
    <message>
        <source>Separate Lines...</source>
        <translation>Satırları Ayır...</translation>
    </message>
    <message>
        <source>Sort Lines</source>
        <translation>Satırları Sırala</translation>
    </message>
    <message>
        <source>Trim Both</source>
        <translation>İki Yandan</translation>
    </message>
    <message>
        <source>Trim Left</source>
        <translation>Soldan</translation>
    </message>
    <message>
        <source>Trim Right</source>
        <translation>Sağdan</translation>
    </message>
    <message>
        <source>&amp;Version History</source>
        <translation>&amp;Sürüm Geçmişi</translation>
    </message>
    <message>
        <source>Version History|Display the version history</source>
        <translation>Sürüm Geçmişi|Sürüm geçmişini göster</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Hakkında...</translation>
    </message>
    <message>
        <source>About|Display program information</source>
        <translation>Hakkında|Program bilgilerini göster</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Bul</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Değiştir</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>Analiz</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Dosya</translation>
    </message>
    <message>
        <source>File related commands</source>
        <translation>Dosya komutları</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>Dü&amp;zen</translation>
    </message>
    <message>
        <source>Edit commands</source>
        <translation>Düzenleme komutları</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Görünüm</translation>
    </message>
    <message>
        <source>View related commands</source>
        <translation>Görünüm komutları</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Seçenekler</translation>
    </message>
    <message>
        <source>Options related commands</source>
        <translation>Seçenek komutları</translation>
    </message>
    <message>
        <source>E&amp;xtra!</source>
        <translation>E&amp;kstra!</translation>
    </message>
    <message>
        <source>Extra features</source>
        <translation>Ek özellikler</translation>
    </message>
    <message>
        <source>&amp;Add Date</source>
        <translation>&amp;Tarih Ekle</translation>
    </message>
    <message>
        <source>Add Date|Add date to the document</source>
        <translation>Tarih Ekle|Belgeye tarih ekle</translation>
    </message>
    <message>
        <source>Insert Text</source>
        <translation>Metin Ekle</translation>
    </message>
    <message>
        <source>Make &amp;Lowercase</source>
        <translation>&amp;Küçük Harf Yap</translation>
    </message>
    <message>
        <source>Make Lowercase|Make the text lowercase</source>
        <translation>Küçük Harf Yap|Metni küçük harfe çevir</translation>
    </message>
    <message>
        <source>Make &amp;Uppercase</source>
        <translation>Büyük &amp;Harf Yap</translation>
    </message>
    <message>
        <source>Make Uppercase|Make the text uppercase</source>
        <translation>Büyük Harf Yap|Metni büyük harfe çevir</translation>
    </message>
    <message>
        <source>Trim Lines</source>
        <translation>Satırları Kırp</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Yardım</translation>
    </message>
    <message>
        <source>Help related commands</source>
        <translation>Yardım komutları</translation>
    </message>
    <message>
        <source>%1 Lines</source>
        <translation>%1 Satır</translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation>%1 Bayt</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Değiştirildi</translation>
    </message>
    <message>
        <source>Saving %1...</source>
        <translation>%1 kaydediliyor...</translation>
    </message>
</context>
<context>
    <name>TExtract</name>
    <message>
        <source>Extract Text</source>
        <translation>Metin Ayıkla</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Vazgeç</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Yardım</translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Bul</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>A&amp;ranan:</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Yalnızca &amp;tam sözcükler</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Büyük/küçük &amp;harf eşleşsin</translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation>&amp;Başa dön</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Düzenli i&amp;fade</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Yön</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Yukarı</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Aşağı</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Sonrakini Bul</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>TGoToLineDialog</name>
    <message>
        <source>Go To Line</source>
        <translation>Satıra Git</translation>
    </message>
    <message>
        <source>&amp;Line number (1 - %1):</source>
        <translation>&amp;Satır numarası (1 - %1):</translation>
    </message>
    <message>
        <source>Type a line number.</source>
        <translation>Bir satır numarası yazın.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a line number.</source>
        <translation>&apos;%1&apos; bir satır numarası değil.</translation>
    </message>
    <message>
        <source>There is no line %1: the lines run from 1 to %2.</source>
        <translation>%1. satır yok: satırlar 1 ile %2 arasında.</translation>
    </message>
</context>
<context>
    <name>TMemo</name>
    <message>
        <source>Document</source>
        <translation>Belge</translation>
    </message>
</context>
<context>
    <name>TRecovery</name>
    <message>
        <source>Unsaved changes cannot be protected: %1: %2</source>
        <translation>Kaydedilmemiş değişiklikler korunamıyor: %1: %2</translation>
    </message>
    <message>
        <source>

Restore it? Discard deletes the copy.</source>
        <translation>

Geri yüklensin mi? Sil, kopyayı siler.</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. The copy is damaged; it was set aside as &quot;%1.damaged&quot; and is not offered again.</source>
        <translation>&quot;%1&quot; dosyası açılamıyor. Kopya bozuk; &quot;%1.damaged&quot; adıyla bir kenara alındı ve bir daha önerilmeyecek.</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. The copy is damaged; it could not be set aside.</source>
        <translation>&quot;%1&quot; dosyası açılamıyor. Kopya bozuk; bir kenara alınamadı.</translation>
    </message>
    <message>
        <source> It holds changes to the file, which has changed since: %1 of its %2 bytes are there, and Restore gives those back.</source>
        <translation> Kopya, o zamandan beri değişmiş olan dosyadaki değişiklikleri tutuyor: %2 baytının %1 baytı orada ve Geri Yükle bunları geri verir.</translation>
    </message>
    <message>
        <source> It is damaged: its last changes cannot be read, and Restore gives the text as it was before them.</source>
        <translation> Kopya bozuk: son değişiklikleri okunamıyor; Geri Yükle metni bu değişikliklerden önceki haliyle verir.</translation>
    </message>
</context>
<context>
    <name>TReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Değiştir</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>A&amp;ranan:</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>&amp;Yerine konacak:</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Yalnızca &amp;tam sözcükler</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Büyük/küçük &amp;harf eşleşsin</translation>
    </message>
    <message>
        <source>Wrap ar&amp;ound</source>
        <translation>&amp;Başa dön</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Düzenli i&amp;fade</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Sonrakini Bul</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Değiştir</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Tü&amp;münü Değiştir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>TSeparate</name>
    <message>
        <source>Separate Lines</source>
        <translation>Satırları Ayır</translation>
    </message>
    <message>
        <source>Between lines:</source>
        <translation>Satırlar arasına:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>Insert To Beginning</source>
        <translation>Başa Ekle</translation>
    </message>
    <message>
        <source>Insert To End</source>
        <translation>Sona Ekle</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Metin:</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Cannot open &quot;%1&quot; as UTF-8. %2</source>
        <translation>&quot;%1&quot; UTF-8 olarak açılamıyor. %2</translation>
    </message>
</context>
<context>
    <name>Utf8Text</name>
    <message>
        <source>The file is not valid UTF-8 (at byte %1).</source>
        <translation>Dosya geçerli bir UTF-8 değil (%1. baytta).</translation>
    </message>
    <message>
        <source>The file holds characters that Windows-1254 cannot hold (at byte %1).</source>
        <translation>Dosyada Windows-1254&apos;ün tutamadığı karakterler var (%1. baytta).</translation>
    </message>
    <message>
        <source>The file holds no characters beyond ASCII.</source>
        <translation>Dosyada ASCII dışında karakter yok.</translation>
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
        <translation>Kullanım: quorlex [DOSYA]
          quorlex --help | --version

Quorlex %1, 8 bitlik metin dosyaları (Windows-1254) için bir düz metin düzenleyicisi.
Tüm argümanlar birlikte açılacak tek dosyayı adlandırır; boşluk içeren bir ad tırnaksız
verilebilir.

Ayarlar (settings.ini) ve son ayıklama betiği (extractform.txt) $XDG_CONFIG_HOME/quorlex
klasöründe, çalışma dosyaları $XDG_CACHE_HOME/quorlex klasöründe tutulur. QUORLEX_HOME
bir klasörü gösterdiğinde ya da programın kendi klasörü yazılabilir olduğunda tüm
dosyalar orada tutulur.

Ayrıntılar için quorlex(1) sayfasına bakın.
</translation>
    </message>
</context>
</TS>
