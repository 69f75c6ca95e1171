// libFuzzer target: random scripts, documents and fetched pages through the evaluator.
#include "fuzz/ExtractFuzz.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString folder = [] {
        std::string tmpl = (QDir::tempPath() + QStringLiteral("/quorlex-fuzz-XXXXXX")).toStdString();
        const char* made = ::mkdtemp(tmpl.data());
        if (!made)
            std::abort();
        return QString::fromLocal8Bit(made);
    }();
    const std::string problem = fuzz::RunExtraction(std::string_view(reinterpret_cast<const char*>(data), size), folder);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
