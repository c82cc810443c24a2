#include "textfile/TextFile.h"

#include "lang/Lang.h"
#include "platform/File.h"
#include "ui/Messages.h"

FileNameSpec::FileNameSpec(const std::string& path)
    : m_fullPath(path), m_path(platform::folderOf(path)), m_fileName(platform::baseNameOf(path)) {
    const std::string name = platform::fileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) m_extension = name.substr(dot);
}

TextFile::TextFile() = default;
TextFile::~TextFile() = default;

namespace {

// The read and write messages: the token's text, CR, the error code and its description.
void showIoError(const char* token, int code) {
    ErrMsg(GetLangToken(token) + "\r" + std::to_string(code) + " " + platform::errorText(code));
}

} // namespace

std::string TextFile::Read(uint32_t count) {
    if (!m_lOpen) return {};
    std::string text(count, '\0');
    const size_t got = m_file->read(text.data(), count);
    text.resize(got);
    if (got < count) {
        // A short read at the end of the file carries code 0 and is silent.
        const int code = platform::lastError();
        if (code != 0 && code != 257) showIoError("000026", code);
    }
    GetCur();
    return text;
}

bool TextFile::Write(const std::string& text, bool force) {
    // Almost every text starts with a byte that is not blank; only the others need the full test.
    const bool maybeBlank = text.empty() || text[0] == ' ' || text[0] == '\t' || text[0] == '\r' || text[0] == '\n';
    if (!force && maybeBlank && kelmora::detail::isBlank(text)) return true;
    if (text.empty()) return true;
    if (!m_lOpen) return false;
    if (m_file->write(text.data(), text.size()) < text.size()) {
        showIoError("000024", platform::lastError());
        return false;
    }
    GetCur();
    return true;
}

TextFile& TextFile::Seek(uint32_t offset) {
    if (m_lOpen) m_file->seek(offset);
    return *this;
}

void TextFile::opened(std::unique_ptr<platform::File> file, const std::string& name) {
    m_file = std::move(file);
    m_lOpen = true;
    m_file->seek(0);
    GetCur();
    m_cName = name;
    m_oName = FileNameSpec(name);
}

bool TextFile::Open(const std::string& name, std::optional<int> mode) {
    const int openMode = !mode || *mode == 0 ? platform::FO_READWRITE : *mode;
    Close();
    if (name.empty()) {
        ErrMsg(GetLangToken("000015"));
        m_lError = true;
    }
    if (m_lError) return m_lError;
    if (!platform::fileExists(name)) {
        ErrMsg(GetLangToken("000017", name));
        m_lError = true;
        return m_lError;
    }
    auto file = platform::File::open(name, openMode);
    if (!file) {
        ErrMsg(GetLangToken("000021", name));
        m_lError = true;
        return m_lError;
    }
    opened(std::move(file), name);
    return m_lError;
}

TextFile& TextFile::Create(const std::string& name) {
    Close();
    if (name.empty()) {
        ErrMsg(GetLangToken("000015"));
        m_lError = true;
    }
    if (m_lError) return *this;
    if (!m_lRewrite && platform::fileExists(name) && !ASkYN(GetLangToken("000022", name))) {
        m_lError = true;
        return *this;
    }
    auto file = platform::File::create(name);
    if (!file) {
        ErrMsg(GetLangToken("000023", name));
        m_lError = true;
        return *this;
    }
    opened(std::move(file), name);
    return *this;
}

TextFile& TextFile::Close() {
    if (!m_lOpen) return *this;
    if (!m_file->close()) showIoError("000024", platform::lastError());
    m_file.reset();
    m_lOpen = false;
    m_cName.clear();
    m_oName = FileNameSpec();
    return *this;
}

TextFile& TextFile::GetCur() {
    if (!m_lOpen) return *this;
    m_nCur = static_cast<uint32_t>(m_file->position());
    m_nLenF = static_cast<uint32_t>(m_file->size());
    m_eof = m_file->atEnd();
    m_bof = m_nCur == 0;
    return *this;
}
