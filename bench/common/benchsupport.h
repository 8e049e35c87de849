// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the benchmarks: statistics, resident memory, a silent sound output, a
// working directory with the bell, and a way to wait until a window has been painted.
#pragma once

#include "bell/audiooutput.h"
#include "platform/services.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace quorlin::bench {

inline double monotonicMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const double at = q * double(values.size() - 1);
    const size_t lo = size_t(std::floor(at));
    const size_t hi = std::min(values.size() - 1, lo + 1);
    return values[lo] + (values[hi] - values[lo]) * (at - double(lo));
}
inline double median(const std::vector<double> &v)
{
    return quantile(v, 0.5);
}

// Resident memory of this process in MB, from /proc/self/statm.
inline double residentMb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A machine-readable line the ./bench/run script gathers into its table.
inline void summary(const char *figure, double value, double baseline, const char *unit,
                    double ratio, const char *target, bool met)
{
    std::printf("SUMMARY|%s|%.2f %s|%.2f %s|%.2f|%s|%s\n", figure, value, unit, baseline, unit,
                ratio, target, met ? "met" : "NOT MET");
    std::fflush(stdout);
}

// Plays nothing: a voice that starts and stops at once.
class SilentAudioOutput final : public AudioOutput
{
    class Voice final : public AudioVoice
    {
    public:
        explicit Voice(std::shared_ptr<const PcmSound> sound) : m_sound(std::move(sound)) {}
        void start(std::int64_t) override {}
        void stop() override {}

    private:
        std::shared_ptr<const PcmSound> m_sound;
    };

public:
    std::unique_ptr<AudioVoice> createVoice(std::shared_ptr<const PcmSound> sound) override
    {
        return std::make_unique<Voice>(std::move(sound));
    }
};

// Opens no browser; counts what it was asked.
class NoShell final : public Shell
{
public:
    int asked = 0;
    void openUrl(const QString &) override { ++asked; }
};

// A temporary working directory holding the bell, made current for the benchmark's life. The
// bell is linked, not copied: to the program, a file written moments ago may still be changing,
// so every window would read it again, while an installed bell has been left alone for long
// and every window with a bell shares the sound the main window opened.
class BellDirectory
{
public:
    BellDirectory()
    {
        const QString bell = QStringLiteral("80578_634166-lq.wav");
        if (!QFile::link(QFileInfo(QStringLiteral(QUORLIN_BELL_FILE)).absoluteFilePath(),
                         m_dir.filePath(bell))) {
            std::fprintf(stderr, "no bell at %s\n", QUORLIN_BELL_FILE);
            std::exit(1);
        }
        QDir::setCurrent(m_dir.path());
    }

private:
    QTemporaryDir m_dir;
};

// The real services, but no browser and, for repeatable figures, a silent sound output.
class BenchServices
{
public:
    NoShell shell;
    SilentAudioOutput audio;
    explicit BenchServices(bool silent = true)
        : m_scoped(Services{nullptr, &shell, nullptr, nullptr})
    {
        if (silent)
            m_silent = std::make_unique<ScopedAudioOutput>(audio);
    }

private:
    ScopedServices m_scoped;
    std::unique_ptr<ScopedAudioOutput> m_silent;
};

// Watches for a top-level window's paint: painted() turns true once the window has handled a
// paint event. The whole tree is painted in the same pass, so the pass is over when the event
// loop next returns.
class PaintProbe : public QObject
{
public:
    PaintProbe() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintProbe() override { QCoreApplication::instance()->removeEventFilter(this); }

    void watch(QWidget *window)
    {
        m_window = window;
        m_painted = false;
    }
    // Watches whichever new top-level window paints first that is not in `known`.
    void watchNew(std::vector<QWidget *> known)
    {
        m_window = nullptr;
        m_known = std::move(known);
        m_painted = false;
        m_any = true;
    }
    bool painted() const { return m_painted; }
    QWidget *window() const { return m_window; }

    // Runs the event loop until the window has been painted; false after `timeoutMs`.
    bool wait(int timeoutMs = 10000)
    {
        QElapsedTimer t;
        t.start();
        while (!m_painted) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (t.elapsed() > timeoutMs)
                return false;
        }
        // Let the rest of the paint pass (children, flush) finish.
        QCoreApplication::processEvents();
        return true;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            auto *w = qobject_cast<QWidget *>(object);
            if (w && w->isWindow()) {
                if (m_any && std::find(m_known.begin(), m_known.end(), w) == m_known.end()) {
                    m_window = w;
                    m_any = false;
                    m_painted = true;
                } else if (!m_any && w == m_window) {
                    m_painted = true;
                }
            }
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    std::vector<QWidget *> m_known;
    bool m_painted = false;
    bool m_any = false;
};

} // namespace quorlin::bench
