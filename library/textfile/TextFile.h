#pragma once
// TextFile: the one file class of the system. Byte-oriented despite its name: Read returns raw bytes,
// Write writes a text byte for byte. It adds the checks and messages around opening and creating, a
// sticky error flag (lError: once an Open or Create failed, the object stays failed), and position
// properties that are current after every Open, Create, Read, Write and GetCur.
//
// Write skips a blank text (empty, or only spaces, tabs, CR and LF) unless its force flag is on.
// Nothing closes a file implicitly except destruction; callers Close what they opened.
//
// The end and start tests are Eof() and Bof(): EOF is a macro of the C library.

#include "KelmoraExport.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class File;
}

// A parsed file name: folder (with trailing '/'), base name, extension (with its '.').
class KELMORA_EXPORT FileNameSpec {
public:
    FileNameSpec() = default;
    explicit FileNameSpec(const std::string& path);

    const std::string& FullPath() const { return m_fullPath; }
    const std::string& Path() const { return m_path; }
    // The file name without folder and extension: "book" for ".../book.HTM".
    const std::string& FileName() const { return m_fileName; }
    const std::string& Extension() const { return m_extension; }

private:
    std::string m_fullPath, m_path, m_fileName, m_extension;
};

class KELMORA_EXPORT TextFile {
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool lError() const { return m_lError; }
    uint32_t nLenF() const { return m_nLenF; }
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    uint32_t nCur() const { return m_nCur; }
    const std::string& cName() const { return m_cName; }
    bool lRewrite() const { return m_lRewrite; }
    void lRewrite(bool rewrite) { m_lRewrite = rewrite; }
    // The handle of the open file (for line reading); null while closed.
    platform::File* pInFile() const { return m_file.get(); }
    const FileNameSpec& oName() const { return m_oName; }

    // Reads up to count bytes at the current offset; a short read with a real error shows a message.
    std::string Read(uint32_t count);
    // Writes text at the current offset (nothing for a blank text unless force). False after a short
    // write, which shows a message.
    bool Write(const std::string& text, bool force = false);
    // Moves the current offset; the position properties keep their values until the next GetCur.
    TextFile& Seek(uint32_t offset);
    // Opens an existing file. No mode or mode 0 means platform::FO_READWRITE. Returns lError().
    bool Open(const std::string& name, std::optional<int> mode = std::nullopt);
    // Creates a file or truncates an existing one; asks before overwriting unless lRewrite is set.
    TextFile& Create(const std::string& name);
    // Closes the file if one is open. Buffered bytes that cannot be written show the write message.
    TextFile& Close();
    TextFile& GetCur();

private:
    KELMORA_HIDDEN void opened(std::unique_ptr<platform::File> file, const std::string& name);

    std::unique_ptr<platform::File> m_file;
    bool m_lError = false;
    bool m_lOpen = false;
    uint32_t m_nLenF = 0;
    uint32_t m_nCur = 0;
    bool m_eof = false;
    bool m_bof = false;
    std::string m_cName;
    bool m_lRewrite = false;
    FileNameSpec m_oName;
};
