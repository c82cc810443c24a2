#include "engine/ConversionRun.h"

#include "engine/RunHost.h"
#include "engine/Scanner.h"
#include "engine/Translator.h"
#include "lang/Lang.h"
#include "platform/File.h"
#include "textfile/TextFile.h"
#include "ui/Messages.h"

#include <filesystem>
#include <vector>

namespace {

const char* const kContentsHeading = "<FONT color=navy align=center><H2>Contents</H2></FONT>";
constexpr uint32_t kCopyChunk = 64 * 1024;

size_t characterCount(const std::string& utf8) {
    size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error)) return true;
    std::error_code ignored;
    return fs::weakly_canonical(fs::absolute(a, ignored), ignored) ==
           fs::weakly_canonical(fs::absolute(b, ignored), ignored);
}

// The extension of the main file as created: from the last "." of its name, case kept.
std::string extensionOf(const std::string& path) {
    const std::string name = platform::fileNameOf(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// Inserts the contents into the main file at offset: the tail is moved up from its end in chunks, so
// neither the book nor the contents is ever held in memory whole.
void insertContents(TextFile& main, TextFile& contents, uint32_t offset, WriteGuard& guard) {
    if (offset > main.nLenF()) offset = main.nLenF();
    main.GetCur();
    contents.GetCur();
    const uint32_t mainLength = main.nLenF();
    const uint32_t contentsLength = contents.nLenF();
    const std::string heading = kContentsHeading;
    const uint32_t shift = static_cast<uint32_t>(heading.size()) + contentsLength + 4; // + "<HR>"
    uint32_t end = mainLength;
    while (end > offset && !guard.failed) {
        const uint32_t length = std::min(kCopyChunk, end - offset);
        const uint32_t start = end - length;
        main.Seek(start);
        const std::string chunk = main.Read(length);
        main.Seek(start + shift);
        if (!main.Write(chunk, true)) guard.failed = true;
        end = start;
    }
    main.Seek(offset);
    if (!guard.failed && !main.Write(heading, true)) guard.failed = true;
    for (uint32_t at = 0; at < contentsLength && !guard.failed; at += kCopyChunk) {
        contents.Seek(at);
        if (!main.Write(contents.Read(std::min(kCopyChunk, contentsLength - at)), true)) guard.failed = true;
    }
    if (!guard.failed && !main.Write("<HR>", true)) guard.failed = true;
}

} // namespace

bool GOPROCESS(RunHost& host, const std::string& sourcePath, const std::string& resultPath, uint32_t blockSize) {
    RunState state;
    ConversionOptions options = host.options();
    const std::string outputFolder = host.COUTDIR();
    const std::string nameFile = host.CNAMEFILE();
    const std::string logPath = outputFolder + nameFile + ".log";
    const std::string contentsPath = outputFolder + nameFile + "_C.HTM";
    const std::string framesetPath = outputFolder + nameFile + "_I.HTM";
    const bool layout1 = options.nContentsLayout == 1;

    if (options.lOverwrite && !ASkYN(GetLangToken("400007") + "\r\n" + GetLangToken("400008"))) return false;

    TextFile source;
    if (sourcePath.empty()) {
        ErrMsg(GetLangToken("400009"));
        return false;
    }
    // The book is only read.
    source.Open(sourcePath, platform::FO_READONLY);
    if (source.lError()) return false;

    // No file of the run may be the book itself: creating it would truncate the book.
    std::vector<std::string> runFiles;
    if (!options.lOnlyBinaries) runFiles.push_back(resultPath);
    if (options.lLog) runFiles.push_back(logPath);
    if (options.lContents) runFiles.push_back(contentsPath);
    if (options.lContents && options.nContentsLayout == 3) runFiles.push_back(framesetPath);
    for (const std::string& path : runFiles) {
        if (!path.empty() && sameFile(path, sourcePath)) {
            ErrMsg(GetLangToken("400030", path));
            source.Close();
            return false;
        }
    }

    WriteGuard guard;
    TextFile main;
    if (!options.lOnlyBinaries) {
        if (resultPath.empty()) {
            ErrMsg(GetLangToken("400010"));
            source.Close();
            return false;
        }
        main.lRewrite(options.lOverwrite);
        main.Create(resultPath);
        if (main.lError()) {
            source.Close();
            return false;
        }
    }

    TextFile log;
    if (options.lLog) {
        log.lRewrite(options.lOverwrite);
        log.Create(logPath);
        if (log.lError()) {
            main.Close();
            source.Close();
            return false;
        }
        const std::string heading = GetLangToken("400011");
        // Appended, not "+": GCC 12 at -O3 takes " " + std::string(n, '=') for an overlapping copy
        // (a false -Wrestrict, an error under PAPYRANT_WERROR in a Release build).
        guard.write(log, std::string(" ").append(heading).append("\r\n"));
        guard.write(log, std::string(" ").append(characterCount(heading), '=').append("\r\n"));
    }

    TextFile contents;
    TextFile frameset;
    if (options.lContents) {
        contents.lRewrite(options.lOverwrite);
        contents.Create(contentsPath);
        if (contents.lError()) {
            main.Close();
            source.Close();
            log.Close();
            return false;
        }
        if (options.nContentsLayout == 3) {
            frameset.lRewrite(options.lOverwrite);
            frameset.Create(framesetPath);
            if (frameset.lError()) {
                main.Close();
                source.Close();
                log.Close();
                contents.Close();
                return false;
            }
            for (const std::string& line :
                 {std::string("<HTML>"),
                  std::string("<meta http-equiv=Content-Type Content=\"text/HTML; charset=windows-1251\">"),
                  std::string("<frameset cols=\"20%,*\" >"),
                  "<frame src=\"" + nameFile + "_C.HTM" + "\" >",
                  "<frame src=\"" + nameFile + extensionOf(resultPath) + "\" name=\"window-1\">",
                  std::string("</frameset>"), std::string("</HTML>")})
                guard.write(frameset, line + "\r\n");
        }
    }

    if (!options.lOnlyBinaries && options.lBackground) {
        const std::string picture = platform::programFolder() + "Paper.jpg";
        const std::string copy = outputFolder + "Paper.jpg";
        // Copying a file onto itself would empty it; the picture is already where it belongs.
        if (!sameFile(picture, copy) && !platform::copyFile(picture, copy)) {
            ErrMsg(GetLangToken("400012") + " " + picture + " в " + outputFolder + ".\r\n" + GetLangToken("400013"));
            options.lBackground = false;
            host.setBackgroundChecked(false);
        }
    }

    host.setProgressRange(RunHost::Progress::All, source.nLenF());
    host.setProgressRange(RunHost::Progress::Stage, source.nLenF());
    host.setProgressPosition(RunHost::Progress::All, 0);
    host.setProgressPosition(RunHost::Progress::Stage, 0);

    std::vector<std::string> reserved = runFiles;
    reserved.push_back(sourcePath);
    Translator translator(state, options, guard,
                          TranslatorSetup{nameFile, extensionOf(resultPath), std::move(reserved)});
    auto onTag = [&](const ScannedTag& tag) {
        translator.ANALIZ(log, main, contents, tag.tagText, tag.kind, tag.name, tag.attributes, tag.tagStart,
                          tag.tagEnd, tag.pending, tag.stack, outputFolder, host);
    };
    bool stoppedByWriteError = false;
    auto stopCheck = [&]() {
        if (guard.failed) {
            stoppedByWriteError = true;
            return true;
        }
        if (host.LSTOP() && ASkYN(GetLangToken("400016"))) {
            host.setLGO(false);
            host.setStartButtonCaption(GetLangToken("200021"));
            host.ENABLECONTROL();
            return true;
        }
        host.setLSTOP(false);
        return false;
    };
    Scanner scanner(host, onTag, stopCheck, blockSize);
    const ScanResult result = scanner.scan(source, state.CSTACK);
    // A write error found by the last block ends the run like one found at a stop check.
    if (guard.failed) stoppedByWriteError = true;

    // Closing writes what is still buffered; a failure there is a failed write like any other.
    auto closeAll = [&]() {
        for (TextFile* file : {&frameset, &contents, &log, &source, &main}) {
            if (!file->pInFile()) continue;
            // After the first write error has been shown, a file that cannot take its last buffered
            // bytes either (the same full disk) closes without a second message.
            if (guard.failed) file->pInFile()->close();
            file->Close();
            if (platform::lastError() != 0) guard.failed = true;
        }
    };
    // A book that could not be read to its end is not converted, whatever was written.
    if (result == ScanResult::Mismatch || result == ScanResult::ReadFailed || stoppedByWriteError) {
        closeAll();
        return false;
    }

    // With only pictures there is no main file to take the contents.
    if (options.lContents && layout1 && !options.lOnlyBinaries)
        insertContents(main, contents, state.NINSCONT, guard);

    host.setProgressPosition(RunHost::Progress::All, 0);
    host.setProgressPosition(RunHost::Progress::Stage, 0);
    host.setStageCaption(GetLangToken("200011"));
    closeAll();
    if (guard.failed) return false;
    if (options.lContents && layout1) platform::deleteFile(contentsPath);

    IMsg(GetLangToken("400018"));
    return true;
}
