#pragma once
// The records that the pieces of one conversion hand to each other: the option record, the run-wide
// state, the tag kinds, the attribute list and the element stack.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The settings page's values that govern a run; read once from the host at the start of a run.
struct ConversionOptions {
    bool lOverwrite = false;       // overwrite existing files without asking
    bool lConvertBinaries = false; // create picture files without asking
    bool lOnlyBinaries = false;    // only picture files: no main file, no background
    bool lPrefixFileName = false;  // picture names get the output name and "_" in front
    bool lWideSpacing = false;     // paragraphs as <P> instead of <DIV>
    bool lLog = false;             // list unhandled elements in NAME.log
    bool lBackground = false;      // copy Paper.jpg and give the body a background
    int32_t nEpigraphIndents = 10; // <DIR> tags around an epigraph, 0 .. 999
    bool lContents = false;        // build a table of contents
    int32_t nContentsLayout = 1;   // 1 start of the main file, 2 separate file, 3 frameset
};

// The epigraph indent field's text as a number: its leading decimal digits, 0 when there are none,
// at most 999.
int32_t parseEpigraphIndents(std::string_view text);

enum class TagKind : int16_t { ProcessingInstruction = 0, Opening = 10, Closing = 20, Empty = 30 };

// (name, value); values keep their quotes as in the source.
using Attribute = std::pair<std::string, std::string>;
using AttributeList = std::vector<Attribute>;

// Elements whose presence in the stack the translator asks about ("inside X").
enum class TrackedElement : uint8_t { TitleInfo, Body, Poem, Title, Subtitle, Count, None = Count };
TrackedElement trackedElementOf(std::string_view name);

// The open elements, outermost first, each with the anchor that was open when it was pushed.
// Keeps a count per tracked element, so "inside X" costs the same at any depth.
class ElementStack {
public:
    struct Entry {
        std::string name;
        std::string savedAnchor;
    };

    void push(const std::string& name, const std::string& savedAnchor);
    void pop();
    // m_entries keeps popped entries for reuse: only the first m_size of them are on the stack.
    bool empty() const { return m_size == 0; }
    size_t size() const { return m_size; }
    const Entry& top() const { return m_entries[m_size - 1]; }
    bool inside(TrackedElement element) const { return m_counts[static_cast<size_t>(element)] > 0; }
    const Entry* begin() const { return m_entries.data(); }
    const Entry* end() const { return m_entries.data() + m_size; }

private:
    // Entries are reused after a pop so deep books do not reallocate names at every tag.
    std::vector<Entry> m_entries;
    std::vector<TrackedElement> m_tracked;
    size_t m_size = 0;
    uint32_t m_counts[static_cast<size_t>(TrackedElement::Count)] = {};
};

// The translator's run-wide state.
struct RunState {
    std::vector<std::string> CO;  // routing of the pending text into the main file while not empty
    std::vector<std::string> OCO; // routing of the pending text into the contents while not empty
    int32_t NCOUNT = 1;           // number of the next numbered anchor (CO1, CO2, ...)
    std::string CSTACK;           // the anchor opened by the current opening tag
    uint32_t NINSCONT = 0;        // where layout 1 inserts the contents into the main file
    std::string _CHARSET;         // the encoding of the XML declaration
    bool hasCharset = false;
    bool F2 = false;              // a picture file is open and waits for its text
};
