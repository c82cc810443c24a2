// papyrant-cli: converts FB2 books to HTML from the command line with the same engine and messages
// as the desktop program.

#include "app/CliHost.h"
#include "app/ConverterTexts.h"
#include "engine/ConversionRun.h"
#include "lang/LangFiles.h"
#include "platform/File.h"

#include <cstdio>
#include <cstring>
#include <getopt.h>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: papyrant-cli [OPTIONS] BOOK.fb2 [BOOK.fb2 ...]\n"
    "Converts FB2 books into HTML.\n"
    "\n"
    "  -o, --output FILE        the main HTML file (one book only); default: the book's folder and\n"
    "                           name with \".htm\"\n"
    "  -d, --output-dir DIR     the folder for the output of every book (default: each book's folder)\n"
    "      --overwrite          overwrite existing files without asking\n"
    "      --binaries           write every picture of the book without asking\n"
    "      --only-binaries      write only the pictures (needs --binaries)\n"
    "      --prefix             put the output name and \"_\" before picture names (needs --binaries)\n"
    "      --wide-spacing       wider spacing between paragraphs\n"
    "      --log                list the unhandled elements in NAME.log\n"
    "      --background         copy Paper.jpg and use it as the page background\n"
    "      --epigraph-indents N indent epigraphs by N levels (default 10)\n"
    "      --contents start|file|frames\n"
    "                           a table of contents at the start of the main file, in NAME_C.HTM,\n"
    "                           or in NAME_C.HTM with the frameset NAME_I.HTM (default: none)\n"
    "      --yes | --no         the answer to every question (default: ask on a terminal, else\n"
    "                           take each question's default answer)\n"
    "      --language CODE      the interface language from the *.lng files beside the program\n"
    "  -q, --quiet              no progress display\n"
    "  -h, --help               show this help\n"
    "      --version            show the version\n"
    "\n"
    "Exit status: 0 every book converted, 1 a book failed, 2 wrong usage.\n";

enum OptionId {
    kOverwrite = 1000, kBinaries, kOnlyBinaries, kPrefix, kWideSpacing, kLog, kBackground, kEpigraph, kContents,
    kYes, kNo, kLanguage, kVersion
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "papyrant-cli: %s\nTry 'papyrant-cli --help'.\n", message.c_str());
    return 2;
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    static const option longOptions[] = {
        {"output", required_argument, nullptr, 'o'},
        {"output-dir", required_argument, nullptr, 'd'},
        {"overwrite", no_argument, nullptr, kOverwrite},
        {"binaries", no_argument, nullptr, kBinaries},
        {"only-binaries", no_argument, nullptr, kOnlyBinaries},
        {"prefix", no_argument, nullptr, kPrefix},
        {"wide-spacing", no_argument, nullptr, kWideSpacing},
        {"log", no_argument, nullptr, kLog},
        {"background", no_argument, nullptr, kBackground},
        {"epigraph-indents", required_argument, nullptr, kEpigraph},
        {"contents", required_argument, nullptr, kContents},
        {"yes", no_argument, nullptr, kYes},
        {"no", no_argument, nullptr, kNo},
        {"language", required_argument, nullptr, kLanguage},
        {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };

    ConversionOptions options;
    std::string output, outputDir, language;
    std::optional<bool> answer;
    bool quiet = false;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, ":o:d:qh", longOptions, nullptr)) != -1) {
        switch (c) {
        case 'o':
            output = optarg;
            break;
        case 'd':
            outputDir = optarg;
            break;
        case kOverwrite:
            options.lOverwrite = true;
            break;
        case kBinaries:
            options.lConvertBinaries = true;
            break;
        case kOnlyBinaries:
            options.lOnlyBinaries = true;
            break;
        case kPrefix:
            options.lPrefixFileName = true;
            break;
        case kWideSpacing:
            options.lWideSpacing = true;
            break;
        case kLog:
            options.lLog = true;
            break;
        case kBackground:
            options.lBackground = true;
            break;
        case kEpigraph: {
            const std::string text = optarg;
            if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 3)
                return usageError("--epigraph-indents needs a whole number from 0 to 999, not '" + text + "'");
            options.nEpigraphIndents = parseEpigraphIndents(text);
            break;
        }
        case kContents: {
            const std::string layout = optarg;
            options.lContents = true;
            if (layout == "start")
                options.nContentsLayout = 1;
            else if (layout == "file")
                options.nContentsLayout = 2;
            else if (layout == "frames")
                options.nContentsLayout = 3;
            else
                return usageError("--contents takes start, file or frames, not '" + layout + "'");
            break;
        }
        case kYes:
        case kNo:
            if (answer && *answer != (c == kYes)) return usageError("--yes and --no exclude each other");
            answer = c == kYes;
            break;
        case kLanguage:
            language = optarg;
            break;
        case 'q':
            quiet = true;
            break;
        case 'h':
            std::fputs(kUsage, stdout);
            return 0;
        case kVersion:
            std::printf("papyrant-cli %s\n", PAPYRANT_VERSION);
            return 0;
        case ':':
            return usageError(std::string("option '") + argv[optind - 1] + "' needs a value");
        default:
            // optopt names an unknown short option (getopt may not have moved past its group yet); it is
            // 0 for an unknown long option, which argv[optind - 1] holds.
            return usageError("unknown option '" +
                              (optopt != 0 ? "-" + std::string(1, static_cast<char>(optopt)) : argv[optind - 1]) +
                              "'");
        }
    }
    std::vector<std::string> books(argv + optind, argv + argc);
    if (books.empty()) return usageError("no book given");
    if (!output.empty() && books.size() > 1) return usageError("--output takes one book only");
    if (!output.empty() && !outputDir.empty()) return usageError("--output and --output-dir exclude each other");
    if (options.lOnlyBinaries && !options.lConvertBinaries) return usageError("--only-binaries needs --binaries");
    if (options.lPrefixFileName && !options.lConvertBinaries) return usageError("--prefix needs --binaries");
    if (options.lOnlyBinaries && options.lContents) return usageError("--only-binaries excludes --contents");
    if (!outputDir.empty() && !platform::isDirectory(outputDir))
        return usageError("the output folder '" + outputDir + "' does not exist");

    Orvane();
    ReadLngFile(language);
    DEFAULTLANG();
    if (!language.empty() && GetCurentKodLanguage() != language)
        std::fprintf(stderr, "papyrant-cli: no language file with the code '%s'; using the built-in texts\n",
                     language.c_str());

    CliHost host(options, !quiet, answer);
    CliHost::installInterruptHandler();
    int status = 0;
    for (const std::string& book : books) {
        std::string resultPath = output;
        if (resultPath.empty()) {
            const std::string folder = outputDir.empty() ? platform::folderOf(book) : withSlash(outputDir);
            resultPath = folder + platform::baseNameOf(book) + ".htm";
        }
        host.beginBook(platform::folderOf(resultPath), platform::baseNameOf(resultPath), platform::fileNameOf(book));
        const bool converted = GOPROCESS(host, book, resultPath);
        host.endBook();
        if (!converted || host.stopConfirmed()) status = 1;
        if (host.stopConfirmed()) break;
    }
    return status;
}
