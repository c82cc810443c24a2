#include "engine/Scanner.h"

#include "engine/RunHost.h"
#include "lang/Lang.h"
#include "textfile/TextFile.h"
#include "ui/Messages.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string_view>

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::string_view(text).substr(0, prefix.size()) == prefix;
}

bool endsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && std::string_view(text).substr(text.size() - suffix.size()) == suffix;
}

constexpr std::string_view kCommentStart = "!--";
constexpr std::string_view kCdataStart = "![CDATA[";

void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

Scanner::Scanner(RunHost& host, TagHandler onTag, StopCheck stopCheck, uint32_t blockSize)
    : m_host(host), m_onTag(std::move(onTag)), m_stopCheck(std::move(stopCheck)),
      m_blockSize(blockSize == 0 ? 1 : blockSize) {}

// A ">" ends an ordinary tag; inside a comment, a character data section or a declaration's "[...]"
// subset it is part of the construct.
bool Scanner::tagIsComplete() const {
    if (m_tag.empty() || m_tag[0] != '!') return true;
    if (startsWith(m_tag, kCommentStart)) return m_tag.size() >= 5 && endsWith(m_tag, "--");
    if (startsWith(m_tag, kCdataStart)) return m_tag.size() >= 10 && endsWith(m_tag, "]]");
    return m_brackets <= 0;
}

void Scanner::appendToTag(const char* data, size_t length) {
    m_tag.append(data, length);
    if (m_tag.empty() || m_tag[0] != '!') return;
    if (startsWith(m_tag, kCommentStart)) {
        // A comment is dropped whole: keep only its start and its last two characters, so a huge
        // comment costs no memory.
        if (m_tag.size() > 5) m_tag.erase(3, m_tag.size() - 5);
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        if (data[i] == '[') ++m_brackets;
        if (data[i] == ']') --m_brackets;
    }
}

void Scanner::splitTag(std::string_view text) {
    m_attributeCount = 0;
    size_t at = 0;
    while (at < text.size() && !isSeparator(text[at])) ++at;
    m_name.assign(text.substr(0, at));
    if (at < text.size()) {
        // Every further separator cuts a piece; empty pieces give pairs of two empty texts.
        size_t start = at + 1;
        for (;;) {
            size_t end = start;
            while (end < text.size() && !isSeparator(text[end])) ++end;
            const std::string_view piece = text.substr(start, end - start);
            if (m_attributeCount == m_attributes.size()) m_attributes.emplace_back();
            Attribute& attribute = m_attributes[m_attributeCount++];
            const size_t equals = piece.find('=');
            if (equals == std::string_view::npos) {
                attribute.first.assign(piece);
                attribute.second.clear();
            } else {
                attribute.first.assign(piece.substr(0, equals));
                attribute.second.assign(piece.substr(equals + 1));
            }
            if (end >= text.size()) break;
            start = end + 1;
        }
    }
    m_attributes.resize(m_attributeCount);
}

bool Scanner::handleTag(uint32_t tagStart, uint32_t tagEnd, std::string& CSTACK) {
    std::string_view text = m_tag;
    TagKind kind = TagKind::Opening;
    if (!text.empty() && text.front() == '?' && text.back() == '?') {
        kind = TagKind::ProcessingInstruction;
        text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string_view();
    } else if (!text.empty() && text.front() == '/') {
        kind = TagKind::Closing;
        text.remove_prefix(1);
    } else if (!text.empty() && text.back() == '/') {
        kind = TagKind::Empty;
        text.remove_suffix(1);
    }
    splitTag(text);
    m_tagText.assign(text);
    m_onTag(ScannedTag{m_tagText, kind, m_name, m_attributes, tagStart, tagEnd, m_pending, m_stack});
    m_host.setProgressPosition(RunHost::Progress::All, tagStart);
    m_host.setProgressPosition(RunHost::Progress::Stage, tagStart);

    if (kind == TagKind::Opening) {
        m_stack.push(m_name, CSTACK);
        CSTACK.clear();
    } else if (kind == TagKind::Closing) {
        static const std::string noElement;
        const std::string& top = m_stack.empty() ? noElement : m_stack.top().name;
        if (m_stack.empty() || m_name.compare(0, top.size(), top) != 0) {
            ErrMsg(GetLangToken("400014", TextList{"\"" + m_name + "\"", "\"" + top + "\""}));
            return false;
        }
        m_stack.pop();
    }
    m_tag.clear();
    m_pending.clear();
    return true;
}

// A picture's pending text can be tens of megabytes. Grown by doubling, it is copied again and again and
// touches twice its size in fresh pages; once it is large, room for the rest of the book is reserved at
// once. That is address space only: pages that are never written cost no memory.
void Scanner::reservePending(size_t needed, uint64_t restOfBook) {
    try {
        // At least doubled: the rest of the book is only what its length said at the start.
        m_pending.reserve(std::max<uint64_t>(needed + restOfBook, uint64_t(2) * m_pending.capacity()));
    } catch (const std::exception&) {
        // No such room: the append grows it as usual.
    }
}

ScanResult Scanner::scan(TextFile& source, std::string& CSTACK) {
    uint32_t bytesRead = 0;
    bool inTag = false;
    uint32_t openPosition = 0; // 1-based position of the current tag's "<" in its block
    while (!source.Eof()) {
        const std::string block = source.Read(m_blockSize);
        if (block.empty()) return ScanResult::ReadFailed;
        bytesRead += m_blockSize;
        const char* data = block.data();
        const size_t size = block.size();
        const uint64_t restOfBook = uint64_t(source.nLenF() - std::min(source.nLenF(), source.nCur())) + size;
        size_t at = 0;
        for (;;) {
            if (!inTag) {
                const void* lt = std::memchr(data + at, '<', size - at);
                if (!lt) {
                    appendPending(data + at, size - at, restOfBook);
                    break;
                }
                const size_t p = static_cast<size_t>(static_cast<const char*>(lt) - data);
                appendPending(data + at, p - at, restOfBook);
                openPosition = static_cast<uint32_t>(p + 1);
                inTag = true;
                m_brackets = 0;
                at = p + 1;
            }
            const void* gt = std::memchr(data + at, '>', size - at);
            if (!gt) {
                appendToTag(data + at, size - at);
                break;
            }
            const size_t q = static_cast<size_t>(static_cast<const char*>(gt) - data);
            appendToTag(data + at, q - at);
            at = q + 1;
            if (!tagIsComplete()) {
                appendToTag(">", 1);
                continue;
            }
            inTag = false;
            if (!m_tag.empty() && m_tag[0] == '!') {
                if (startsWith(m_tag, kCdataStart) && !startsWith(m_tag, kCommentStart))
                    appendEscaped(m_pending, std::string_view(m_tag).substr(8, m_tag.size() - 10));
                m_tag.clear(); // comments and declarations vanish; the pending text goes on
            } else if (!handleTag(bytesRead + openPosition, bytesRead + static_cast<uint32_t>(q + 1), CSTACK)) {
                return ScanResult::Mismatch;
            }
            openPosition = 0;
            m_host.processPendingEvents();
        }
        if (m_stopCheck()) return ScanResult::Stopped;
    }
    return ScanResult::Finished;
}
