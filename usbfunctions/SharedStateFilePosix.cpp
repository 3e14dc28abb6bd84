#include "SharedStateFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <utility>

namespace UsbSim {

namespace {

// The lock sits at the start of the file, ahead of the bytes the board shares.
constexpr std::size_t kLockArea = 64;
static_assert(sizeof(pthread_mutex_t) <= kLockArea, "the lock fits its place");
// A request holds the lock for microseconds; one that holds it this long is not coming back soon.
constexpr time_t kLongestHoldSeconds = 1;

std::string Failure(const std::string& path, const char* what, int error) {
    return path + " " + what + ": " + std::strerror(error);
}

// A robust lock: when a holder dies, the next process to lock is told instead of waiting forever.
void InitializeLock(pthread_mutex_t* mutex) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

// Space on disk for the whole file now, so that a full disk is a message here and never a
// fault at a later access of the mapping.
int Reserve(int fd, std::size_t length) {
    int result = posix_fallocate(fd, 0, static_cast<off_t>(length));
    if (result == EOPNOTSUPP || result == EINVAL) result = ftruncate(fd, static_cast<off_t>(length)) == 0 ? 0 : errno;
    return result;
}

// The whole-file lock between processes that open or mend the file; released by hand, since
// the descriptor outlives it.
class OpeningLock {
public:
    explicit OpeningLock(int fd) : fd_(fd) {}
    ~OpeningLock() {
        if (held_) flock(fd_, LOCK_UN);
    }
    OpeningLock(const OpeningLock&) = delete;
    OpeningLock& operator=(const OpeningLock&) = delete;
    int Take() {
        while (flock(fd_, LOCK_EX) != 0)
            if (errno != EINTR) return errno;
        held_ = true;
        return 0;
    }

private:
    int fd_;
    bool held_ = false;
};

std::size_t FileSize(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
}

// True where the file is empty or its shared bytes begin with the signature.
bool RecognisedOrEmpty(int fd, std::size_t size, const std::string& signature) {
    if (size == 0) return true;
    std::string start(signature.size(), '\0');
    return pread(fd, &start[0], start.size(), static_cast<off_t>(kLockArea)) == static_cast<ssize_t>(start.size()) &&
           start == signature;
}

class MappedStateFile final : public SharedStateFile {
public:
    MappedStateFile(int fd, void* map, std::size_t length, Prepare prepare)
        : fd_(fd), map_(map), length_(length), prepare_(std::move(prepare)) {}
    ~MappedStateFile() override {
        munmap(map_, length_);
        close(fd_);
    }

    unsigned char* Bytes() override { return static_cast<unsigned char*>(map_) + kLockArea; }
    pthread_mutex_t* Mutex() { return static_cast<pthread_mutex_t*>(map_); }

    // The lock lives in the file too: a file cut short is made whole before the lock is touched,
    // and looked at again once it is held, since a mapped page past the end is a fatal signal.
    bool Lock() override {
        MendIfCutShort();
        const bool clean = TakeLock();
        if (FileSize(fd_) < length_ && MendIfCutShort()) pthread_mutex_lock(Mutex());
        return clean;
    }
    void Unlock() override { pthread_mutex_unlock(Mutex()); }
    bool TakeCutShort() override { return std::exchange(cutShort_, false); }

    // Writes the bytes afresh where they are not the board's own, with a new lock.
    bool PrepareAfresh() {
        if (!prepare_(Bytes())) return false;
        InitializeLock(Mutex());
        return true;
    }

private:
    bool TakeLock() {
        timespec deadline{};
        clock_gettime(CLOCK_REALTIME, &deadline);
        deadline.tv_sec += kLongestHoldSeconds;
        const int result = pthread_mutex_timedlock(Mutex(), &deadline);
        if (result == 0) return true;
        if (result == EOWNERDEAD) {
            pthread_mutex_consistent(Mutex());
            return false;
        }
        // Held far longer than a request takes (its holder stopped, e.g. with Ctrl+Z), or left
        // unrecoverable: a new lock in its place, so that no program freezes behind it.
        InitializeLock(Mutex());
        pthread_mutex_lock(Mutex());
        return false;
    }

    // True when the lock was made anew.
    bool MendIfCutShort() {
        if (FileSize(fd_) >= length_) return false;
        OpeningLock opening(fd_);
        if (opening.Take() != 0 || FileSize(fd_) >= length_ || Reserve(fd_, length_) != 0) return false;
        cutShort_ = true;
        return PrepareAfresh();
    }

    int fd_;
    void* map_;
    std::size_t length_;
    Prepare prepare_;
    bool cutShort_ = false;
};

}  // namespace

std::unique_ptr<SharedStateFile> SharedStateFile::Open(const std::string& path, std::size_t size,
                                                       const std::string& signature, const Prepare& prepare,
                                                       std::string& error) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = Failure(path, "cannot be opened", errno);
        return nullptr;
    }
    struct Closer {
        int fd;
        bool kept = false;
        ~Closer() {
            if (!kept) close(fd);
        }
    } closer{fd};
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        error = Failure(path, "cannot be examined", errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = path + " is not a regular file";
        return nullptr;
    }
    if (status.st_uid != geteuid()) {  // in a shared temporary folder someone else may have made it
        error = path + " belongs to another user";
        return nullptr;
    }
    OpeningLock opening(fd);
    if (const int result = opening.Take()) {
        error = Failure(path, "cannot be locked", result);
        return nullptr;
    }
    const std::size_t length = kLockArea + size;
    if (fstat(fd, &status) != 0) {
        error = Failure(path, "cannot be examined", errno);
        return nullptr;
    }
    // Another name of the same file may be anyone's file: writing here would write there.
    if (status.st_nlink > 1) {
        error = path + " has other names (hard links): it is left as it is";
        return nullptr;
    }
    if (!RecognisedOrEmpty(fd, static_cast<std::size_t>(status.st_size), signature)) {
        error = path + " is not a state file of the simulated board: it is left as it is";
        return nullptr;
    }
    // Never shrunk: another process may have the longer file mapped.
    if (static_cast<std::size_t>(status.st_size) < length) {
        if (const int result = Reserve(fd, length)) {
            error = Failure(path, "cannot be enlarged", result);
            return nullptr;
        }
    }
    void* map = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        error = Failure(path, "cannot be mapped", errno);
        return nullptr;
    }
    closer.kept = true;  // the mapped file keeps it, to see the file's size at every use
    auto file = std::make_unique<MappedStateFile>(fd, map, length, prepare);
    file->PrepareAfresh();
    return file;
}

std::string DefaultStateFilePath(std::string&) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/kts9320b-sim.state";
    // No runtime folder (a login without one, a container): a file of the user's own in the
    // temporary folder; Open refuses one that another user made.
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ignored);
    if (folder.empty()) folder = "/tmp";
    return (folder / ("kts9320b-sim-" + std::to_string(geteuid()) + ".state")).string();
}

std::string PowerSessionId() {
    std::ifstream file("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(file, id);
    return id;
}

}  // namespace UsbSim
