#include "ksvmodcommprot.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modtextparacmd.h"
#include "modulesimulator.h"
#include "ptypeer.h"
#include "simulatedengine.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <map>
#include <mutex>

#include <gtest/gtest.h>

namespace {

// A module on the far end of a pseudo-terminal: echoes every command, answers reads from its
// value table, stores writes, and logs what it received.
class FakeModule {
public:
    explicit FakeModule(PtyPeer &peer) : FPeer(peer) {}
    ~FakeModule() { Stop(); }

    void Start()
    {
        FStop = false;
        FPeer.Run([this](PtyPeer &p) {
            QByteArray pending;
            while (!FStop) {
                pending += p.ReadUntil("\r", 50);
                const qsizetype cr = pending.indexOf('\r');
                if (cr < 0)
                    continue;
                const QByteArray cmd = pending.left(cr);
                pending.remove(0, cr + 1);
                p.Write(Answer(cmd));
            }
        });
    }
    void Stop()
    {
        FStop = true;
        FPeer.Join();
    }

    QList<QByteArray> TakeLog()
    {
        std::lock_guard lock(FMutex);
        return std::exchange(FLog, {});
    }
    QByteArray Value(const QByteArray &name)
    {
        std::lock_guard lock(FMutex);
        return FValues[name];
    }

private:
    QByteArray Answer(const QByteArray &cmd)
    {
        std::lock_guard lock(FMutex);
        FLog << cmd;
        const QByteArray word = cmd.simplified().split(' ').first().toUpper();
        const QByteArray args = cmd.simplified().mid(word.size()).trimmed();
        QByteArray body;
        if (word == "ID") {
            body = "KSV123,V1.0,12,34";
        } else if (word == "READOUT") {
            body = "3\\2\\P1\\\\Gain\\1\\0\\1000\\4\r\n"
                   "3\\1\\T1\\ON|OFF\\Switch\\1\\0\\0\\4\r\n"
                   "3\\6\\CC\\\\Curve\\1\\-10000\\10000\\4\r\n"
                   "3\\2\\ZP\\\\Maker\\1\\0\\100\\64\r\n"
                   "2\\0\\PV1\\bar\\Pressure\\1\\0\\100";
        } else if (word == "ACODE") {
            body = "3";
        } else if (word == "DOWNLOAD") {
            return cmd + "\r\nready for download!";
        } else if (cmd.contains(';')) {
            FValues["BLOCK"] = cmd;
            body = "download completed!";
        } else if (FValues.count(word) && args.isEmpty()) {
            body = FValues[word];
        } else if (FValues.count(word)) {
            FValues[word] = args;
        } else {
            body = "command error";
        }
        return cmd + "\r\n" + body + "\r\nCMD>";
    }

    PtyPeer &FPeer;
    std::atomic<bool> FStop{false};
    std::mutex FMutex;
    QList<QByteArray> FLog;
    std::map<QByteArray, QByteArray> FValues = {{"P1", "100"}, {"T1", "ON"}, {"ZP", "7"}};
};

QList<QByteArray> WithWord(const QList<QByteArray> &log, const QByteArray &word)
{
    QList<QByteArray> hits;
    for (const QByteArray &line : log)
        if (line.startsWith(word))
            hits << line;
    return hits;
}

// An engine that has identified the fake module.
class ParaFileEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        engine.SetPortName(peer.SlavePath());
        engine.SetPortOpen(true);
        ASSERT_TRUE(engine.PortOpen());
        module.Start();
        QString modId;
        ASSERT_TRUE(engine.Identify(modId));
        ASSERT_EQ(modId, "KSV123,V1.0,12,34");
        module.TakeLog();
        engine.OnParaDownloadError = [this](TKSVModCommProt *, const QStringList &names) { errors << names; };
    }

    QString Write(const QByteArray &bytes)
    {
        QFile file(dir.filePath("in.par"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    template <typename T> T *Cmd(const QString &name)
    {
        return dynamic_cast<T *>(engine.CmdList()->Command(engine.CmdList()->IndexOf(name)));
    }

    QTemporaryDir dir;
    PtyPeer peer;
    FakeModule module{peer};
    TKSVModCommProt engine;
    QList<QStringList> errors;
};

} // namespace

TEST(ParaFileEngine, WithoutACommandListNothingIsReadOrWritten)
{
    QTemporaryDir dir;
    TKSVModCommProt engine;
    QFile file(dir.filePath("in.par"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("KSV123,V1.0,12,34\r\n##\r\nP1 5\r\n##\r\n");
    file.close();
    EXPECT_EQ(engine.DownloadParaFile(file.fileName(), false), 2);
    EXPECT_EQ(engine.DownloadParaFile(file.fileName(), true), 2);
    EXPECT_FALSE(engine.SaveParaFile(dir.filePath("out.par")));
    EXPECT_FALSE(QFile::exists(dir.filePath("out.par")));
}

TEST_F(ParaFileEngineTest, SavedFileHoldsTheModuleSetWithoutMakerCommands)
{
    const QString path = dir.filePath("out.par");
    ASSERT_TRUE(engine.SaveParaFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + 1 + 2 + 21 + 1 + 1);
    EXPECT_EQ(lines[0], "KSV123,V1.0,12,34\r");
    EXPECT_EQ(lines[1], "##\r");
    EXPECT_EQ(lines[2], "P1" + QByteArray(19, ' ') + "100 \r");
    EXPECT_EQ(lines[3], "T1" + QByteArray(20, ' ') + "ON \r");
    EXPECT_TRUE(lines[4].startsWith("CC:-10 "));
    EXPECT_EQ(lines[25], "##\r");
    EXPECT_TRUE(lines[26].isEmpty());
    EXPECT_TRUE(module.TakeLog().isEmpty()) << "saving asks the module nothing";
}

TEST_F(ParaFileEngineTest, BlockLinesAreWrittenOneByOneAndUnknownNamesReported)
{
    const QString path = Write("CMD>ID KSV123,V1.0,12,34\r\n##\r\n"
                               "P1                    200 \r\n"
                               "XYZ 1\r\n"
                               "T1                    OFF \r\n"
                               "CC:5 1200 -300\r\n"
                               "CC:x 1 2\r\n"
                               "##\r\n");
    EXPECT_EQ(engine.DownloadParaFile(path, false), 0);
    const QList<QByteArray> log = module.TakeLog();
    EXPECT_EQ(WithWord(log, "P1 "), QList<QByteArray>{"P1 200"});
    EXPECT_EQ(WithWord(log, "T1 "), QList<QByteArray>{"T1 OFF"});
    EXPECT_EQ(WithWord(log, "CC:5 ").size(), 2) << "the whole curve goes out for each of its lines";
    EXPECT_TRUE(WithWord(log, "XYZ").isEmpty());
    EXPECT_EQ(module.Value("P1"), "200");
    EXPECT_EQ(Cmd<TModNumParaCmd>("P1")->Val, 200);
    EXPECT_EQ(Cmd<TModTextParaCmd>("T1")->Txt(), "OFF");
    EXPECT_EQ(Cmd<TModCCParaCmd>("CC")->GetPoint(5), (TCCPoint{1200, -300}));
    EXPECT_EQ(errors, QList<QStringList>{QStringList{"XYZ"}});
}

TEST_F(ParaFileEngineTest, AnotherModuleTypeIsRefusedUnlessTheCheckIsWaived)
{
    const QString path = Write("KSV999,V1.0,12,34\r\n##\r\nP1 300\r\n##\r\n");
    EXPECT_EQ(engine.DownloadParaFile(path, false), 3);
    EXPECT_TRUE(module.TakeLog().isEmpty());
    EXPECT_EQ(engine.DownloadParaFile(Write("not an id\r\n##\r\nP1 300\r\n##\r\n"), false), 3);
    EXPECT_EQ(engine.DownloadParaFile(Write("ksv123,V1.0,12,34\r\n##\r\nP1 300\r\n##\r\n"), false), 3)
        << "the module type compares with letter case";
    EXPECT_EQ(engine.DownloadParaFile(path, true), 0);
    EXPECT_EQ(module.Value("P1"), "300");
}

TEST_F(ParaFileEngineTest, UnusableFilesGiveCode4AndSendNothing)
{
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    static const char binary[] = "KSV123,V1.0,12,34\r\n##\r\n\0\x7f\x01\r\n##\r\n";
    const Case cases[] = {
        {"two lines", "KSV123,V1.0,12,34\r\n##\r\n"},
        {"download block without its closing line", "KSV123,V1.0,12,34\r\n#\r\nP1 1;\r\n"},
        {"no block at all", "KSV123,V1.0,12,34\r\nP1 1\r\nT1 ON\r\n"},
        {"binary", QByteArray(binary, sizeof binary - 1)},
        {"absurdly long line", "KSV123,V1.0,12,34\r\n##\r\nP1 " + QByteArray(100000, '9') + "\r\n##\r\n"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(engine.DownloadParaFile(Write(c.bytes), true), 4) << c.what;
        EXPECT_TRUE(module.TakeLog().isEmpty()) << c.what;
    }
    EXPECT_EQ(engine.DownloadParaFile(dir.filePath("missing.par"), true), 4);
}

TEST_F(ParaFileEngineTest, OldDownloadBlockGoesOutJoinedInOneLine)
{
    const QString path = Write("KSV123,V1.0,12,34\r\nsaved by hand\r\n#\r\nP1 400;\r\nT1 OFF;\r\n#\r\n");
    EXPECT_EQ(engine.DownloadParaFile(path, false), 0);
    const QList<QByteArray> log = module.TakeLog();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log[0], "DOWNLOAD");
    EXPECT_EQ(log[1], "P1 400;T1 OFF;");
    EXPECT_EQ(module.Value("BLOCK"), "P1 400;T1 OFF;");
}

TEST_F(ParaFileEngineTest, WithThePortClosedValuesAreOnlyStoredAndShown)
{
    module.Stop();
    engine.SetPortOpen(false);
    ASSERT_TRUE(engine.CmdListValid());
    int changes = 0;
    Cmd<TModNumParaCmd>("P1")->OnChange = [&](TModCtrlCommand *) { ++changes; };
    const QString path = Write("KSV123,V1.0,12,34\r\n##\r\nP1 555\r\nP1 556\r\n##\r\n");
    EXPECT_EQ(engine.DownloadParaFile(path, false), 0);
    EXPECT_EQ(Cmd<TModNumParaCmd>("P1")->Val, 556);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(engine.DownloadParaFile(Write("KSV123,V1.0,12,34\r\n#\r\nP1 1;\r\n#\r\n"), false), 4)
        << "a download block needs the module";
}

// Save and load against the simulated module: the values of the file come back, including
// those whose change makes the module identify again or read all values.
TEST(ParaFileSimulator, ReloadingASavedFileRestoresTheModuleSet)
{
    QTemporaryDir dir;
    SimulatedEngine module;
    ASSERT_NO_FATAL_FAILURE(module.Identify());
    TKSVModCommProt &engine = module.engine;
    auto *rampUp = module.Find<TModNumParaCmd>("RA_UP");
    auto *curve = module.Find<TModCCParaCmd>("CC");
    ASSERT_TRUE(rampUp && curve);
    const TCCPoint point5 = curve->GetPoint(5);
    rampUp->Val = 500;
    ASSERT_TRUE(engine.WritePara(rampUp));

    const QString path = dir.filePath("set.par");
    ASSERT_TRUE(engine.SaveParaFile(path));
    rampUp->Val = 900;
    ASSERT_TRUE(engine.WritePara(rampUp));
    curve->SetPoint(5, {point5.X, point5.Y + 1});
    ASSERT_TRUE(engine.WritePara(curve));

    QStringList unknown{"not raised"};
    engine.OnParaDownloadError = [&](TKSVModCommProt *, const QStringList &names) { unknown = names; };
    EXPECT_EQ(engine.DownloadParaFile(path, false), 0);
    EXPECT_EQ(unknown, QStringList{"not raised"});
    ASSERT_TRUE(engine.CmdListValid());
    rampUp = module.Find<TModNumParaCmd>("RA_UP");
    curve = module.Find<TModCCParaCmd>("CC");
    ASSERT_TRUE(rampUp && curve);
    EXPECT_EQ(rampUp->Val, 500);
    EXPECT_EQ(curve->GetPoint(5), point5);
    engine.Disconnect();
    module.sim.Stop();
}
