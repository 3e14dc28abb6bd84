#include "SharedStateFile.h"

#include <windows.h>

#include <cstdint>
#include <system_error>
#include <utility>

namespace UsbSim {

namespace {

// The lock's generation sits at the start of the file, ahead of the bytes the board shares, in
// a place as large as the other systems' lock.
constexpr std::size_t kLockArea = 64;
// A request holds the lock for microseconds; one that holds it this long is not coming back soon.
constexpr DWORD kLongestHoldMs = 1000;
// A byte far past the end of any state file, locked while a process opens the file: a lock
// that touches no data and ends with its process.
constexpr DWORD kOpeningLockOffsetHigh = 0x7FFFFFFF;
// The computer's start time is counted in these steps, so that the few milliseconds between
// the clock and the tick count do not give each call a time of its own.
constexpr ULONGLONG kBootTimeStepMs = 60 * 1000;

std::string Failure(const std::string& path, const char* what, DWORD error) {
    return path + " " + what + ": " + std::system_category().message(static_cast<int>(error));
}

// Closes a handle at the end of a scope.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The opening lock, released at the end of Open; the mapping outlives the handle.
class OpeningLock {
public:
    explicit OpeningLock(HANDLE file) : file_(file) {}
    bool Take() {
        OVERLAPPED place{};
        place.OffsetHigh = kOpeningLockOffsetHigh;
        held_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place) != 0;
        return held_;
    }
    ~OpeningLock() {
        OVERLAPPED place{};
        place.OffsetHigh = kOpeningLockOffsetHigh;
        if (held_) UnlockFileEx(file_, 0, 1, 0, &place);
    }
    OpeningLock(const OpeningLock&) = delete;
    OpeningLock& operator=(const OpeningLock&) = delete;

private:
    HANDLE file_;
    bool held_ = false;
};

// The lock's name: the same for every process that opens this file however its path was
// spelled (the system's own spelling of it), and another for any other file. Mutex names
// take no backslash after their namespace, so the path enters as a hash.
bool LockName(HANDLE file, std::wstring& name) {
    wchar_t path[4096];
    const DWORD length = GetFinalPathNameByHandleW(file, path, sizeof path / sizeof path[0], FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof path / sizeof path[0]) return false;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (DWORD i = 0; i < length; ++i) {
        hash ^= static_cast<std::uint16_t>(path[i]);
        hash *= 1099511628211ull;
    }
    // In the namespace of every session, so that the user's programs share it wherever they run.
    name = L"Global\\kts9320b-sim-" + std::to_wstring(hash) + L"-";
    return true;
}

// Space on disk for the whole file now, written as zeros, so that a full disk is a message
// here and never a fault at a later access of the mapping.
DWORD Reserve(HANDLE file, std::size_t length) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return GetLastError();
    // Never shrunk: another process may have the longer file mapped.
    if (static_cast<ULONGLONG>(size.QuadPart) >= length) return ERROR_SUCCESS;
    const std::string zeros(length - static_cast<std::size_t>(size.QuadPart), '\0');
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(size.QuadPart);
    DWORD written = 0;
    if (!WriteFile(file, zeros.data(), static_cast<DWORD>(zeros.size()), &written, &place)) return GetLastError();
    return written == zeros.size() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

class MappedStateFile final : public SharedStateFile {
public:
    MappedStateFile(void* view, std::wstring lockName) : view_(view), lockName_(std::move(lockName)) {}
    ~MappedStateFile() override {
        if (mutex_) CloseHandle(mutex_);
        UnmapViewOfFile(view_);
    }

    unsigned char* Bytes() override { return static_cast<unsigned char*>(view_) + kLockArea; }

    // The lock of the generation the file names; false, with the system's reason, where the
    // system refuses it.
    bool OpenLock(DWORD& error) {
        if (MutexOf(CurrentGeneration())) return true;
        error = GetLastError();
        return false;
    }

    bool Lock() override {
        const bool heldUp = std::exchange(heldUpAtOpen_, false);
        return TakeOrReplace() && !heldUp;
    }
    void Unlock() override {
        if (held_) ReleaseMutex(held_);
        held_ = nullptr;
    }

    // Holds the lock while the file is written afresh; a holder that ended or stopped is told
    // at the first request.
    void PrepareHeld(const Prepare& prepare) {
        heldUpAtOpen_ = !Lock();
        prepare(Bytes());
        Unlock();
    }

private:
    // True when the lock was taken from a holder that ended its request as it should.
    bool TakeOrReplace() {
        held_ = nullptr;
        bool replaced = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            const LONG generation = CurrentGeneration();
            HANDLE mutex = MutexOf(generation);
            if (!mutex) return false;
            switch (WaitForSingleObject(mutex, kLongestHoldMs)) {
            case WAIT_OBJECT_0: held_ = mutex; return !replaced;
            case WAIT_ABANDONED: held_ = mutex; return false;  // its holder ended in the middle of a request
            case WAIT_TIMEOUT:
                // Held far longer than a request takes (its holder stopped or hangs): the next
                // generation's lock in its place, for every process, so that none freezes behind it.
                InterlockedCompareExchange(Generation(), generation + 1, generation);
                replaced = true;
                break;
            default: return false;
            }
        }
        return false;
    }

    volatile LONG* Generation() { return static_cast<volatile LONG*>(view_); }
    LONG CurrentGeneration() { return InterlockedCompareExchange(Generation(), 0, 0); }

    HANDLE MutexOf(LONG generation) {
        if (mutex_ && generation == generation_) return mutex_;
        if (mutex_) CloseHandle(mutex_);
        mutex_ = CreateMutexW(nullptr, FALSE, (lockName_ + std::to_wstring(generation)).c_str());
        generation_ = generation;
        return mutex_;
    }

    void* view_;
    std::wstring lockName_;
    HANDLE mutex_ = nullptr;
    LONG generation_ = 0;
    HANDLE held_ = nullptr;
    bool heldUpAtOpen_ = false;
};

// The wide text in the system's code page, which the rest of the board's paths are in; false
// where a character has no place in it.
bool InCodePage(const std::wstring& text, std::string& result) {
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) return false;
    result.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &result[0], length, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(length) - 1);
    return true;
}

// The user's local application-data folder in the system's code page: its short name where
// its long one does not fit the code page; empty, with the reason, where there is none.
std::string LocalApplicationData(std::string& why) {
    wchar_t folder[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, sizeof folder / sizeof folder[0]);
    if (length == 0 || length >= sizeof folder / sizeof folder[0]) {
        why = "the user has no local application-data folder (LOCALAPPDATA)";
        return std::string();
    }
    std::string result;
    if (InCodePage(folder, result)) return result;
    wchar_t shortName[MAX_PATH * 2];
    const DWORD shortLength = GetShortPathNameW(folder, shortName, sizeof shortName / sizeof shortName[0]);
    if (shortLength > 0 && shortLength < sizeof shortName / sizeof shortName[0] && InCodePage(shortName, result))
        return result;
    why = "the name of the local application-data folder does not fit the system's code page";
    return std::string();
}

}  // namespace

std::unique_ptr<SharedStateFile> SharedStateFile::Open(const std::string& path, std::size_t size,
                                                       const std::string& signature, const Prepare& prepare,
                                                       std::string& error) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        error = Failure(path, "cannot be opened", GetLastError());
        return nullptr;
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {  // a device name such as NUL or COM1
        error = path + " is not a regular file";
        return nullptr;
    }
    std::wstring lockName;
    if (!LockName(file.Get(), lockName)) {
        error = Failure(path, "cannot be examined", GetLastError());
        return nullptr;
    }
    OpeningLock opening(file.Get());
    if (!opening.Take()) {
        error = Failure(path, "cannot be locked", GetLastError());
        return nullptr;
    }
    // Another name of the same file may be anyone's file: writing here would write there.
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.Get(), &information)) {
        error = Failure(path, "cannot be examined", GetLastError());
        return nullptr;
    }
    if (information.nNumberOfLinks > 1) {
        error = path + " has other names (hard links): it is left as it is";
        return nullptr;
    }
    // Only an empty file, or one whose shared bytes begin with the signature, is the board's.
    if (information.nFileSizeHigh != 0 || information.nFileSizeLow != 0) {
        std::string start(signature.size(), '\0');
        OVERLAPPED place{};
        place.Offset = static_cast<DWORD>(kLockArea);
        DWORD read = 0;
        if (!ReadFile(file.Get(), &start[0], static_cast<DWORD>(start.size()), &read, &place) ||
            read != start.size() || start != signature) {
            error = path + " is not a state file of the simulated board: it is left as it is";
            return nullptr;
        }
    }
    const std::size_t length = kLockArea + size;
    if (const DWORD result = Reserve(file.Get(), length)) {
        error = Failure(path, "cannot be enlarged", result);
        return nullptr;
    }
    Handle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(length), nullptr));
    void* view = mapping.Get() ? MapViewOfFile(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, length) : nullptr;
    if (!view) {
        error = Failure(path, "cannot be mapped", GetLastError());
        return nullptr;
    }
    auto shared = std::make_unique<MappedStateFile>(view, std::move(lockName));
    DWORD lockError = ERROR_SUCCESS;
    if (!shared->OpenLock(lockError)) {
        error = Failure(path, "cannot be locked", lockError);
        return nullptr;
    }
    // Under the lock as well, so that no program in the middle of a request meets bytes
    // written afresh.
    shared->PrepareHeld(prepare);
    return shared;
}

std::string DefaultStateFilePath(std::string& why) {
    const std::string base = LocalApplicationData(why);
    if (base.empty()) return std::string();
    const std::string folder = base + "\\KTS9320B Evaluation Software";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            why = Failure(folder, "cannot be made", error);
            return std::string();
        }
    }
    return folder + "\\kts9320b-sim.state";
}

// The time this run of Windows started: the clock less the milliseconds since the start,
// which go on through sleep and hibernation, as the machine's power does.
std::string PowerSessionId() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG nowMs = ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
    const ULONGLONG startMs = nowMs - GetTickCount64() + kBootTimeStepMs / 2;
    return "windows-started-" + std::to_string(startMs / kBootTimeStepMs);
}

}  // namespace UsbSim
