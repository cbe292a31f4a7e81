// Opening and decoding hostile sound files: every file kept under decoder-regressions/, then
// a mutation loop over small .wav and .mp3 files made by sox and lame, for
// OSTREL_FUZZ_SECONDS (10 s unless set). Each input is played or refused, never a memory
// fault: the sanitizer build ends the test at the first one, and the input that did it stays
// in the build folder to be kept under decoder-regressions/.
#include "platform/DecodedStream.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <random>

namespace {
constexpr int DeviceRate = 44100;
// Enough to reach every decoding path; a hostile file may claim hours of sound.
constexpr std::size_t MostFramesPlayed = 3 * DeviceRate;

/// Opens the file and plays it to its end (or MostFramesPlayed) at the given rate; whether it
/// opened.
bool openAndPlay(const QString& path, int frequency)
{
    std::unique_ptr<DecodedStream> stream = DecodedStream::open(path, DeviceRate);
    if (!stream)
        return false;
    stream->setPlayback(frequency, 1.0f, 1.0f);
    std::vector<float> out(2 * 1024);
    for (std::size_t played = 0; played < MostFramesPlayed; played += 1024) {
        stream->decodeAhead();
        std::fill(out.begin(), out.end(), 0.0f);
        if (!stream->mixInto(out.data(), 1024))
            break;
    }
    return true;
}

/// Rewrites the input as a hostile one would: flipped bytes, header fields set to extreme
/// values, a cut, a repeated stretch.
class Mutator
{
public:
    explicit Mutator(unsigned seed) : m_random(seed) {}

    QByteArray mutate(QByteArray data)
    {
        const int changes = 1 + int(pick(4));
        for (int i = 0; i < changes && !data.isEmpty(); ++i) {
            switch (pick(4)) {
            case 0: // a byte, mostly in the header
                data[position(data)] = char(pick(256));
                break;
            case 1: { // a 16- or 32-bit field of the header
                static const quint32 extremes[] = {0,          1,          2,         20,
                                                   0xFF,       0xFFFF,     0x7FFFFFFF, 0xFFFFFFFF,
                                                   100000000u, 44100,      1024,       65535};
                const quint32 value = extremes[pick(std::size(extremes))];
                const int width = pick(2) ? 4 : 2;
                const int at = position(data);
                for (int b = 0; b < width && at + b < data.size(); ++b)
                    data[at + b] = char((value >> (8 * b)) & 0xFF);
                break;
            }
            case 2: // cut short
                data.truncate(int(pick(std::size_t(data.size()))) + 1);
                break;
            default: { // a stretch repeated
                const int from = int(pick(std::size_t(data.size())));
                data.insert(position(data), data.mid(from, int(pick(64)) + 1));
                break;
            }
            }
        }
        return data;
    }

    int frequency() { return 50 + int(pick(200000)); }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random); }
    int position(const QByteArray& data)
    {
        const std::size_t span = pick(2) ? std::min<std::size_t>(64, std::size_t(data.size()))
                                         : std::size_t(data.size());
        return int(pick(span));
    }

    std::mt19937 m_random;
};
} // namespace

class DecoderFuzzTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QByteArray> m_seeds;

private slots:
    void initTestCase()
    {
        const QString wav = m_dir.filePath("seed.wav");
        const QList<QStringList> made{
            {"-n", "-r", "8000", "-c", "1", "-b", "8", wav, "synth", "0.05", "sine", "440"},
            {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "0.05", "sine", "440"},
            {"-n", "-r", "22050", "-c", "1", "-e", "floating-point", "-b", "32", wav, "synth",
             "0.05", "sine", "440"},
        };
        for (const QStringList& arguments : made) {
            QCOMPARE(QProcess::execute("sox", arguments), 0);
            m_seeds << readAll(wav);
        }
        const QString mp3 = m_dir.filePath("seed.mp3");
        QCOMPARE(QProcess::execute("lame", {"--quiet", "-b", "32", wav, mp3}), 0);
        m_seeds << readAll(mp3);
        for (const QByteArray& seed : m_seeds)
            QVERIFY(seed.size() > 44);
    }

    void everyKeptRegressionIsPlayedOrRefused()
    {
        const QDir kept(QStringLiteral(OSTREL_DECODER_REGRESSIONS));
        const QStringList files = kept.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString& name : files) {
            for (int frequency : {100, 44100, 100000})
                openAndPlay(kept.filePath(name), frequency);
        }
    }

    void mutatedFilesArePlayedOrRefused()
    {
        const int seconds = qEnvironmentVariableIsSet("OSTREL_FUZZ_SECONDS")
                                ? qEnvironmentVariableIntValue("OSTREL_FUZZ_SECONDS")
                                : 10;
        // Kept where the build is, so an input that ends the test stays to be looked at.
        const QString current = QDir::current().filePath("decoder-fuzz-input");
        qInfo("an input that ends this test stays in %s", qPrintable(current));
        Mutator mutator(std::random_device{}());
        QElapsedTimer clock;
        clock.start();
        long runs = 0, opened = 0;
        while (clock.elapsed() < seconds * 1000LL) {
            const QByteArray seed = m_seeds[int(runs % m_seeds.size())];
            const QString suffix = seed.startsWith("RIFF") ? ".wav" : ".mp3";
            QFile input(current + suffix);
            QVERIFY(input.open(QIODevice::WriteOnly));
            input.write(mutator.mutate(seed));
            input.close();
            opened += openAndPlay(input.fileName(), mutator.frequency()) ? 1 : 0;
            ++runs;
        }
        QFile::remove(current + ".wav");
        QFile::remove(current + ".mp3");
        qInfo("%ld inputs in %.1f s (%.0f per s), %ld of them opened", runs,
              double(clock.elapsed()) / 1000, double(runs) * 1000 / double(clock.elapsed()), opened);
        QVERIFY(runs > 0);
        // The mutations must leave many files openable, or they test only the refusal.
        QVERIFY2(opened > runs / 10, qPrintable(QString::number(opened)));
    }

private:
    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_GUILESS_MAIN(DecoderFuzzTest)
#include "test_decoder_fuzz.moc"
