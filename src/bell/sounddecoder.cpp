// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell/sounddecoder.h"

#include "platform/background.h"

#include <QFile>
#include <QLibrary>

#include <sndfile.h>

#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

namespace {

// libsndfile, loaded when first needed rather than with the program: with its codecs it is
// eight libraries, and loading them before the program's first line would hold up every start.
struct SndFileLibrary
{
    decltype(&::sf_open_fd) openFd = nullptr;
    decltype(&::sf_readf_short) readfShort = nullptr;
    decltype(&::sf_close) close = nullptr;
};

// The library, loaded once by whichever thread asks first; null when it cannot be loaded.
const SndFileLibrary *sndFile()
{
    static const SndFileLibrary *const loaded = []() -> const SndFileLibrary * {
        QLibrary library(QStringLiteral("sndfile"), 1);
        static SndFileLibrary functions;
        functions.openFd = reinterpret_cast<decltype(&::sf_open_fd)>(library.resolve("sf_open_fd"));
        functions.readfShort =
            reinterpret_cast<decltype(&::sf_readf_short)>(library.resolve("sf_readf_short"));
        functions.close = reinterpret_cast<decltype(&::sf_close)>(library.resolve("sf_close"));
        if (!functions.openFd || !functions.readfShort || !functions.close) {
            qWarning("Quorlin: cannot load libsndfile (%s); no sound can be decoded",
                     qPrintable(library.errorString()));
            return nullptr;
        }
        return &functions; // the library stays loaded for the rest of the run
    }();
    return loaded;
}

struct SndFileCloser
{
    void operator()(SNDFILE *file) const { sndFile()->close(file); }
};

// A file descriptor closed when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
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
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modifiedSec = 0, modifiedNsec = 0, changedSec = 0, changedNsec = 0;
    bool operator==(const FileIdentity &) const = default;
};

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
    // file that is read. Non-blocking, so that a pipe put in the file's place cannot hang us.
    auto fd = std::make_unique<FileDescriptor>(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (fd->get() < 0 || ::fstat(fd->get(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;

    const SndFileLibrary *library = sndFile();
    if (!library)
        return nullptr;
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(
        library->openFd(fd->get(), SFM_READ, &info, SF_FALSE));
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
    const FileIdentity identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec,
                                st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
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
            const sf_count_t read = sndFile()->readfShort(
                opened->file.get(), reinterpret_cast<short *>(samples.data()), frames);
            // What could not be read stays silent.
            samples.truncate(qsizetype(std::max<sf_count_t>(read, 0) * bytesPerFrame));
            return samples;
        });

    // Timestamps are coarse: a file changed within the last moments could change again under
    // the same times, so only a file left alone for a while is known by them.
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const bool settled =
        std::max(ns(st.st_mtim), ns(st.st_ctim)) + kSettledSeconds * 1000000000 < ns(now);
    lastIdentity = settled ? identity : FileIdentity{};
    lastSound = sound;
    return sound;
}

void loadSoundDecoderAhead()
{
    // Once; the program waits for the thread if it ends before the library is in.
    static const bool started = [] {
        startInBackground([] { sndFile(); });
        return true;
    }();
    Q_UNUSED(started);
}

} // namespace quorlin
