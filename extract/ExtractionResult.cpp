#include "extract/ExtractionResult.h"

#include "document/LineText.h"

std::string ExtractionDocumentText(std::string result)
{
    if (HasLoneLineBreak(result))
        result = NormalizeLineBreaks(result);
    // A run's result lost at least its last CR LF to the trim, so this fits its capacity.
    if (!result.empty())
        result += "\r\n";
    return result;
}
