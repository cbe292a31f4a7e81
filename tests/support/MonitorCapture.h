#pragma once

// Captures what the test rig's null sink played, from its monitor.
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sndfile.h>
#include <vector>

inline QString sink()
{
    return qEnvironmentVariable("OSTREL_TEST_SINK");
}

/// Records the sink's monitor, which is what the speakers would have played, to a .wav file.
class MonitorCapture
{
public:
    explicit MonitorCapture(const QString& path) : m_path(path)
    {
        m_recorder.setProcessChannelMode(QProcess::ForwardedChannels);
        m_recorder.start("parecord",
                         {"--latency-msec=20", "-d", sink() + ".monitor", "--file-format=wav",
                          "--rate=44100", "--channels=2", "--format=float32le", path});
        m_recorder.waitForStarted(5000);
        // Recording has begun once samples follow the file's header.
        QDeadlineTimer deadline(5000);
        while (QFileInfo(path).size() < 8192 && !deadline.hasExpired())
            QTest::qWait(20);
    }

    /// Both channels of what was heard, once the recorder has finished its file.
    std::vector<float> stop()
    {
        QTest::qWait(300);
        // An interrupt lets the recorder complete the file's header.
        ::kill(pid_t(m_recorder.processId()), SIGINT);
        m_recorder.waitForFinished(5000);
        SF_INFO info{};
        SNDFILE* file = sf_open(m_path.toLocal8Bit().constData(), SFM_READ, &info);
        if (!file || info.channels != 2)
            return {};
        std::vector<float> samples(std::size_t(info.frames) * 2);
        samples.resize(std::size_t(sf_readf_float(file, samples.data(), info.frames)) * 2);
        sf_close(file);
        return samples;
    }

private:
    QString m_path;
    QProcess m_recorder;
};
