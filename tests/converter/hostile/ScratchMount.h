#pragma once
// A small tmpfs of the test's own, for a full disk or a read-only file system: the tests may run as
// root, for whom permission bits stop nothing. Mounting needs CAP_SYS_ADMIN; without it mounted() is
// false and reason() says why, so the test can skip.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/mount.h>

namespace hostile {

class ScratchMount {
public:
    ScratchMount(const std::string& folder, size_t bytes) : m_folder(folder) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        m_options = "size=" + std::to_string(bytes) + ",mode=0777";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, m_options.c_str()) == 0)
            m_mounted = true;
        else
            m_reason = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    }
    ~ScratchMount() {
        if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& reason() const { return m_reason; }

    // Makes the file system read-only; what is on it stays readable.
    bool makeReadOnly() {
        if (::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                    m_options.c_str()) == 0)
            return true;
        m_reason = std::string("cannot remount read-only: ") + std::strerror(errno);
        return false;
    }

private:
    std::string m_folder;
    std::string m_options;
    bool m_mounted = false;
    std::string m_reason;
};

} // namespace hostile
