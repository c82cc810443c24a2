#pragma once
// File services: files by handle, folder listing, the program folder and the last error of the layer.
//
// A File keeps its own position, reads ahead and buffers writes, so reading a small block or writing
// one byte is cheap while position(), size() and atEnd() stay exact. Buffered bytes reach the disk
// when the file is read, seeked past for writing, closed, or when the buffer fills; a write error
// found then is reported by the call that flushed (write() or close()).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Open modes. 2 is reading and writing; 0 is not a mode of its own here (callers treat it as "none").
enum : int { FO_WRITE = 1, FO_READWRITE = 2, FO_READONLY = 4 };

class File {
public:
    ~File(); // closes; a write error at that point is lost, so call close() to see it

    // nullptr on failure; lastError() tells why.
    static std::unique_ptr<File> open(const std::string& path, int mode);
    // Creates the file, or truncates an existing one, for reading and writing.
    static std::unique_ptr<File> create(const std::string& path);

    // Reads up to n bytes at the position; a short read at the end of the file sets lastError() to 0.
    size_t read(char* buffer, size_t n);
    // Writes n bytes at the position; returns how many were written (fewer: lastError() tells why).
    size_t write(const char* data, size_t n);
    void seek(uint64_t offset) { m_pos = offset; }
    // Reads one line: it ends at LF or CR LF, which do not belong to it. False at the end of the file.
    bool readLine(std::string& line);
    // Flushes and closes; false when buffered data could not be written. Sets lastError() either way.
    bool close();

    uint64_t position() const { return m_pos; }
    uint64_t size() const { return m_size; }
    bool atEnd() const { return m_pos >= m_size; }
    const std::string& path() const { return m_path; }

private:
    File(int fd, std::string path, uint64_t size) : m_fd(fd), m_path(std::move(path)), m_size(size) {}
    bool flush();

    int m_fd;
    std::string m_path;
    uint64_t m_pos = 0;
    uint64_t m_size;
    std::string m_buffer;     // bytes not yet written, belonging at m_bufferStart
    uint64_t m_bufferStart = 0;
    std::vector<char> m_readAhead; // bytes of the file from m_readStart, read in one call; any write drops them
    uint64_t m_readStart = 0;
    size_t m_readLength = 0;
};

// Error code of the last operation of this layer (errno values; 0 = no error) and its description.
int lastError();
void setLastError(int code);
std::string errorText(int code);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
bool deleteFile(const std::string& path);
// Copies source to target, replacing target; false with lastError() on failure.
bool copyFile(const std::string& source, const std::string& target);

// Names (not paths) of the regular files in folder whose names match pattern ("*.lng"), regardless of
// case, sorted by name so the order does not depend on the file system.
std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern);

// The folder of the running program, ending with '/'.
std::string programFolder();

// Path pieces: the folder with its trailing '/', the name without folder, and the name without
// folder and extension (cut before its last '.').
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);
std::string baseNameOf(const std::string& path);

} // namespace platform
