#pragma once
// ANALIZ, the element translator: called once per tag in document order, it writes the pending text
// and the HTML that the tag stands for into the main file, builds the contents stream, logs unhandled
// elements and turns binary elements into picture files. It converts and escapes nothing: text and
// attribute values reach the HTML byte for byte.

#include "engine/Records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class RunHost;
class TextFile;

// Shared by the run, the translator and the decoder: once a write into an output file has failed (the
// file object has shown the error), nothing more is written and the run stops at its next stop check.
struct WriteGuard {
    bool failed = false;
    void write(TextFile& file, const std::string& text);
};

// What the translator knows of the run besides the options and the state.
struct TranslatorSetup {
    std::string nameFile;      // CNAMEFILE
    std::string mainExtension; // the main file's extension as created (".htm", ".HTM", or none)
    // Files that a picture must never replace: the source book and the run's own files.
    std::vector<std::string> reservedPaths;
};

class Translator {
public:
    Translator(RunState& state, ConversionOptions& options, WriteGuard& guard, TranslatorSetup setup);
    ~Translator();

    // Arguments in the order the scanner passes them; tagText and the two positions are not used.
    bool ANALIZ(TextFile& log, TextFile& main, TextFile& contents, const std::string& tagText, TagKind kind,
                const std::string& name, const AttributeList& attributes, uint32_t tagStart, uint32_t tagEnd,
                const std::string& pending, const ElementStack& stack, const std::string& outputFolder,
                RunHost& app);

private:
    struct Call; // the working values of one call
    void dispatch(Call& call);
    void openAnchorById(Call& call);
    void openNumberedAnchor(Call& call);
    void closeAnchor(Call& call, bool alsoContents = false);
    std::string contentsLink(const std::string& anchorName) const;
    std::string pictureName(const std::string& reference, const TextFile& main) const;
    bool isReserved(const std::string& path) const;
    void binaryOpening(Call& call);
    void binaryClosing(Call& call, bool fileWaiting);

    RunState& m_state;
    ConversionOptions& m_options;
    WriteGuard& m_guard;
    TranslatorSetup m_setup;
    std::unique_ptr<TextFile> m_binaryFile;
    std::string m_main;     // main fragment, reused between calls
    std::string m_contents; // contents fragment, reused between calls
};
