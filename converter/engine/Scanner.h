#pragma once
// The FB2 markup scanner: reads the book in blocks, cuts it into tags and the text between them without
// an XML parser, keeps the element stack, and calls the translator once per tag.
//
// Inside a tag, blank, tab, CR and LF separate the element name and the attributes. Comments
// ("<!-- ... -->") and declarations ("<!DOCTYPE ...>" with an optional "[...]" subset) are dropped
// whole, the text around them joining into one pending text; "<![CDATA[...]]>" is text, with "&", "<"
// and ">" written as entities. None of these reaches the translator or the element stack.

#include "engine/Records.h"

#include <cstdint>
#include <functional>
#include <string>

class RunHost;
class TextFile;

// ReadFailed: the book could not be read to its end (the file object has shown why).
enum class ScanResult { Finished, Stopped, Mismatch, ReadFailed };

// Receives every complete tag; the arguments the translator needs besides the files and the host.
struct ScannedTag {
    const std::string& tagText;
    TagKind kind;
    const std::string& name;
    const AttributeList& attributes;
    uint32_t tagStart; // bytes read + position of "<" in its block
    uint32_t tagEnd;   // bytes read + position of ">" in its block
    const std::string& pending;
    const ElementStack& stack;
};

class Scanner {
public:
    using TagHandler = std::function<void(const ScannedTag&)>;
    // Called after every block; true ends the scan (the user confirmed a stop).
    using StopCheck = std::function<bool()>;

    Scanner(RunHost& host, TagHandler onTag, StopCheck stopCheck, uint32_t blockSize = 3000);

    // Scans the source until its end, a confirmed stop, or a closing tag that does not match the open
    // element (shown to the user, then ScanResult::Mismatch). CSTACK is the run's anchor register: it
    // is saved with each opening element and then emptied.
    ScanResult scan(TextFile& source, std::string& CSTACK);

private:
    bool tagIsComplete() const;
    void appendToTag(const char* data, size_t length);
    void appendPending(const char* data, size_t length, uint64_t restOfBook) {
        const size_t needed = m_pending.size() + length;
        if (needed > m_pending.capacity() && m_pending.size() >= kLargePending) reservePending(needed, restOfBook);
        m_pending.append(data, length);
    }
    void reservePending(size_t needed, uint64_t restOfBook);
    // Handles the tag in m_tag; false on a mismatch.
    bool handleTag(uint32_t tagStart, uint32_t tagEnd, std::string& CSTACK);
    void splitTag(std::string_view text);

    RunHost& m_host;
    TagHandler m_onTag;
    StopCheck m_stopCheck;
    uint32_t m_blockSize;

    std::string m_tagText; // the tag text handed on, after the removal its kind calls for
    std::string m_tag;     // tag text gathered so far, without "<" and ">"
    std::string m_pending; // text since the end of the previous tag
    static constexpr size_t kLargePending = 1 << 20;
    int64_t m_brackets = 0; // "[" minus "]" in a tag that starts with "!" (a declaration's subset)
    std::string m_name;
    AttributeList m_attributes;
    size_t m_attributeCount = 0;
    ElementStack m_stack;
};
