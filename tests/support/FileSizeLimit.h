#pragma once
// While it lives, no file of this process may grow beyond limit bytes: a write
// that would is cut short and the next one fails (EFBIG), below the file layer,
// as on a disk that fills up. Linux only.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        Impose(limit);
    }
    // The limit for good, as a child process's setup step before it starts.
    static void Impose(rlim_t limit) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit current{};
        getrlimit(RLIMIT_FSIZE, &current);
        const rlimit limited{limit, current.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_signal)(int) = nullptr;
};
