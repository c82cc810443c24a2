#include "platform/File.h"

#include "platform/testing/ProgramFolderOverride.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace platform {
namespace {

// Initial-exec TLS: the layer is linked, never loaded later, and every read and write sets the code;
// the general model would call __tls_get_addr each time.
thread_local int t_lastError __attribute__((tls_model("initial-exec"))) = 0;
std::string g_programFolderOverride;

constexpr size_t kWriteBufferSize = 64 * 1024;
constexpr size_t kReadAheadSize = 64 * 1024;

bool writeAll(int fd, const char* data, size_t n, uint64_t offset) {
    while (n > 0) {
        const ssize_t written = ::pwrite(fd, data, n, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            t_lastError = errno;
            return false;
        }
        if (written == 0) {
            t_lastError = ENOSPC;
            return false;
        }
        data += written;
        n -= static_cast<size_t>(written);
        offset += static_cast<uint64_t>(written);
    }
    return true;
}

std::unique_ptr<File> noFile(int error) {
    t_lastError = error;
    return nullptr;
}

} // namespace

int lastError() { return t_lastError; }
void setLastError(int code) { t_lastError = code; }

std::string errorText(int code) { return code == 0 ? std::string() : std::string(std::strerror(code)); }

File::~File() { close(); }

std::unique_ptr<File> File::open(const std::string& path, int mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
    case FO_READONLY:
        flags |= O_RDONLY;
        break;
    case FO_WRITE:
        flags |= O_WRONLY;
        break;
    case FO_READWRITE:
        flags |= O_RDWR;
        break;
    default:
        return noFile(EINVAL);
    }
    if (isDirectory(path)) return noFile(EISDIR);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) return noFile(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return noFile(error);
    }
    t_lastError = 0;
    return std::unique_ptr<File>(new File(fd, path, static_cast<uint64_t>(st.st_size)));
}

std::unique_ptr<File> File::create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return noFile(errno);
    t_lastError = 0;
    return std::unique_ptr<File>(new File(fd, path, 0));
}

bool File::flush() {
    if (m_buffer.empty()) return true;
    const bool ok = writeAll(m_fd, m_buffer.data(), m_buffer.size(), m_bufferStart);
    m_buffer.clear();
    return ok;
}

size_t File::read(char* buffer, size_t n) {
    if (m_fd < 0) {
        t_lastError = EBADF;
        return 0;
    }
    if (!flush()) return 0;
    size_t total = 0;
    while (total < n) {
        if (m_pos >= m_readStart && m_pos < m_readStart + m_readLength) {
            const size_t offset = static_cast<size_t>(m_pos - m_readStart);
            const size_t take = std::min(n - total, m_readLength - offset);
            std::memcpy(buffer + total, m_readAhead.data() + offset, take);
            total += take;
            m_pos += take;
            continue;
        }
        // Small reads (the scanner's blocks, line reading) are served from one larger read: a system
        // call per 3000-byte block costs more than the conversion of the block.
        const bool direct = n - total >= kReadAheadSize;
        if (!direct && m_readAhead.empty()) m_readAhead.resize(kReadAheadSize);
        char* target = direct ? buffer + total : m_readAhead.data();
        const size_t want = direct ? n - total : kReadAheadSize;
        const ssize_t got = ::pread(m_fd, target, want, static_cast<off_t>(m_pos));
        if (got < 0) {
            if (errno == EINTR) continue;
            t_lastError = errno;
            return total;
        }
        if (got == 0) break;
        if (direct) {
            total += static_cast<size_t>(got);
            m_pos += static_cast<uint64_t>(got);
        } else {
            m_readStart = m_pos;
            m_readLength = static_cast<size_t>(got);
        }
    }
    m_size = std::max(m_size, m_pos);
    t_lastError = 0;
    return total;
}

size_t File::write(const char* data, size_t n) {
    if (m_fd < 0) {
        t_lastError = EBADF;
        return 0;
    }
    t_lastError = 0;
    m_readLength = 0;
    if (!m_buffer.empty() && m_bufferStart + m_buffer.size() != m_pos && !flush()) return 0;
    if (m_buffer.empty()) m_bufferStart = m_pos;
    if (m_buffer.size() + n > kWriteBufferSize) {
        if (!flush()) return 0;
        m_bufferStart = m_pos;
        if (n >= kWriteBufferSize) {
            if (!writeAll(m_fd, data, n, m_pos)) return 0;
            m_pos += n;
            m_size = std::max(m_size, m_pos);
            return n;
        }
    }
    m_buffer.append(data, n);
    m_pos += n;
    m_size = std::max(m_size, m_pos);
    return n;
}

bool File::readLine(std::string& line) {
    line.clear();
    if (atEnd()) return false;
    char chunk[512];
    for (;;) {
        const uint64_t start = m_pos;
        const size_t got = read(chunk, sizeof chunk);
        if (got == 0) break;
        const char* lf = static_cast<const char*>(std::memchr(chunk, '\n', got));
        if (lf) {
            line.append(chunk, static_cast<size_t>(lf - chunk));
            m_pos = start + static_cast<uint64_t>(lf - chunk) + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line.append(chunk, got);
    }
    return true;
}

bool File::close() {
    if (m_fd < 0) return true;
    const bool flushed = flush();
    const int error = t_lastError;
    ::close(m_fd);
    m_fd = -1;
    t_lastError = flushed ? 0 : error;
    return flushed;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool deleteFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        t_lastError = errno;
        return false;
    }
    t_lastError = 0;
    return true;
}

bool copyFile(const std::string& source, const std::string& target) {
    auto in = File::open(source, FO_READONLY);
    if (!in) return false;
    auto out = File::create(target);
    if (!out) return false;
    char buffer[64 * 1024];
    for (;;) {
        const size_t got = in->read(buffer, sizeof buffer);
        if (got == 0) {
            if (lastError() != 0) return false;
            break;
        }
        if (out->write(buffer, got) != got) return false;
    }
    return out->close();
}

std::vector<std::string> listFolder(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        t_lastError = errno;
        return names;
    }
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    while (const dirent* entry = ::readdir(dir)) {
        if (::fnmatch(pattern.c_str(), entry->d_name, FNM_CASEFOLD | FNM_PERIOD) != 0) continue;
        struct stat st {};
        if (::stat((prefix + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string programFolder() {
    if (!g_programFolderOverride.empty()) return g_programFolderOverride;
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "./";
    return folderOf(std::string(buffer, static_cast<size_t>(length)));
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string baseNameOf(const std::string& path) {
    std::string name = fileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

namespace testing {

void setProgramFolder(const std::string& folder) {
    g_programFolderOverride = folder;
    if (!folder.empty() && folder.back() != '/') g_programFolderOverride += '/';
}

} // namespace testing
} // namespace platform
