// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/sounddecoder.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quorlin {

namespace {

struct SndFileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};

// A file descriptor closed when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
#ifdef _WIN32
            ::_close(m_fd);
#else
            ::close(m_fd);
#endif
        }
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// What tells one version of a file from another: where it lives, its size and its times.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0, changedNs = 0;
    bool operator==(const FileIdentity &) const = default;
};

// Opens a regular file for reading and tells which file it is; a negative descriptor for a
// file that cannot be opened or is not a regular file.
int openRegularFile(const QString &path, FileIdentity &identity)
{
#ifdef _WIN32
    // Shared for deleting as well as for reading and writing, so that the file can be removed or
    // renamed over while it is held here, as on other systems; what is read stays the file that
    // was opened. Pipes and devices open without waiting and are refused by their type below.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                      GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return -1;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times)) {
        CloseHandle(handle);
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return -1;
    }
    const auto join = [](DWORD high, DWORD low) { return (quint64(high) << 32) | low; };
    // File times count 100 ns from 1601; only differences and order matter here. The change
    // time moves with every write and with every change of the other times, and a program
    // putting a file's modification time back does not put it back.
    identity = {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                qint64(join(info.nFileSizeHigh, info.nFileSizeLow)),
                times.LastWriteTime.QuadPart * 100, times.ChangeTime.QuadPart * 100};
    return fd;
#else
    // Non-blocking, so that a pipe put in the file's place cannot hang us.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    identity = {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), ns(st.st_mtim),
                ns(st.st_ctim)};
    return fd;
#endif
}

// The wall-clock time in the file times' count.
qint64 nowNs()
{
#ifdef _WIN32
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return qint64((quint64(now.dwHighDateTime) << 32) | now.dwLowDateTime) * 100;
#else
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
#endif
}

// How long a file must have been left alone before its times are trusted to tell versions apart.
constexpr qint64 kSettledSeconds = 2;

// PulseAudio plays rates up to 384 kHz; a rate or channel count outside these bounds comes from a
// damaged header rather than from a sound.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 8;

} // namespace

std::shared_ptr<const PcmSound> openSoundFile(const QString &path)
{
    // Opened here rather than by name in libsndfile, so that what is checked below is the very
    // file that is read.
    FileIdentity identity;
    auto fd = std::make_unique<FileDescriptor>(openRegularFile(path, identity));
    if (fd->get() < 0)
        return nullptr;

    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open_fd(fd->get(), SFM_READ, &info, SF_FALSE));
    if (!file)
        return nullptr;
    if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate)
        return nullptr;

    const qint64 bytesPerFrame = 2 * qint64(info.channels);
    const qint64 maxFrames = std::min<qint64>(qint64(info.samplerate) * kMaxSoundSeconds,
                                              kMaxSoundBytes / bytesPerFrame);
    if (info.frames < 0 || info.frames > maxFrames)
        return nullptr;

    // Every window with a bell opens the file anew, and nearly always finds the same file:
    // then the sound opened last time serves again, while some player still holds it.
    static FileIdentity lastIdentity{};
    static std::weak_ptr<const PcmSound> lastSound;
    if (identity == lastIdentity)
        if (std::shared_ptr<const PcmSound> same = lastSound.lock())
            return same;

    // The samples are read from the file kept open here, so that a file removed or renamed over
    // in the meantime still gives the sound that was opened. The reader goes, and the file is
    // closed, once they are read.
    struct Opened
    {
        std::unique_ptr<FileDescriptor> fd;
        std::unique_ptr<SNDFILE, SndFileCloser> file;
    };
    auto opened = std::make_shared<Opened>(Opened{std::move(fd), std::move(file)});
    const sf_count_t frames = info.frames;
    auto sound = std::make_shared<const PcmSound>(
        info.samplerate, info.channels, frames, [opened, frames, bytesPerFrame] {
            QByteArray samples(qsizetype(frames * bytesPerFrame), Qt::Uninitialized);
            const sf_count_t read = sf_readf_short(
                opened->file.get(), reinterpret_cast<short *>(samples.data()), frames);
            // What could not be read stays silent.
            samples.truncate(qsizetype(std::max<sf_count_t>(read, 0) * bytesPerFrame));
            return samples;
        });

    // Timestamps are coarse: a file changed within the last moments could change again under
    // the same times, so only a file left alone for a while is known by them.
    const bool settled = std::max(identity.modifiedNs, identity.changedNs) +
                             kSettledSeconds * 1000000000 < nowNs();
    lastIdentity = settled ? identity : FileIdentity{};
    lastSound = sound;
    return sound;
}

} // namespace quorlin
