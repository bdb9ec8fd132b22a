// A limit on the size of the files this process writes, as a full disk would
// set one: while the object lives, a write past the limit fails (the signal
// such a write raises is ignored), and afterwards the old limit is back.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace testsupport {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &savedAction_);
        ::getrlimit(RLIMIT_FSIZE, &savedLimit_);
        rlimit limit = savedLimit_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &savedLimit_);
        ::sigaction(SIGXFSZ, &savedAction_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct sigaction savedAction_ {};
    rlimit savedLimit_{};
};

}  // namespace testsupport
