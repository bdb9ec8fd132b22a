// One program per program folder: the real program started twice on one
// folder (offscreen), and beside another folder's.
#include "gui/single_instance.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files/instance_lock.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Bounds for a program's start and end under the sanitizers: a guard against
// a hang, not a measure of speed.
constexpr int StartBound = 120000;

// A program folder that starts without asking for the CD drive.
fs::path programFolder(const fs::path& root, const char* name) {
    const fs::path folder = root / name;
    fs::create_directories(folder);
    std::ofstream(folder / "disk.ini", std::ios::binary) << "E:\\\r\n";
    return folder;
}

// The program on a folder, started with arguments.
void startProgram(QProcess& program, const fs::path& folder, const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELBRIN_HOME"), QString::fromStdString(folder.string()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(ZELBRIN_PROGRAM), arguments);
    ASSERT_TRUE(program.waitForStarted(StartBound));
}

// Waits until the program on the folder listens for later starts (it holds
// the folder's lock by then).
bool listening(const fs::path& folder, QProcess& program) {
    const QString name = gui::instanceServerName(platform::files::resolvedFolder(folder.string()));
    for (int waited = 0; waited < StartBound; waited += 50) {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(1000)) {
            probe.disconnectFromServer();
            return true;
        }
        if (program.state() == QProcess::NotRunning) return false;
        QThread::msleep(50);
    }
    return false;
}

TEST(SingleInstance, ASecondStartOnTheSameFolderBringsTheFirstToTheFrontAndEnds) {
    testsupport::TempFolder tmp;
    const fs::path home = programFolder(tmp.path(), "home");
    const fs::path other = programFolder(tmp.path(), "other");

    QProcess first;
    startProgram(first, home, {QStringLiteral("--exit-after-raise")});
    ASSERT_TRUE(listening(home, first));

    // Another folder's program runs beside it: it shows its own window.
    QProcess beside;
    startProgram(beside, other, {QStringLiteral("--exit-after-first-paint")});
    ASSERT_TRUE(beside.waitForFinished(StartBound));
    EXPECT_EQ(beside.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(beside.exitCode(), 0);
    const QString size = QString::fromLatin1(beside.readAllStandardOutput().trimmed());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+x\\d+$")).match(size).hasMatch())
        << size.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // The second start on the first's folder asks it to the front and ends.
    QProcess second;
    startProgram(second, home, {QStringLiteral("--exit-after-first-paint")});
    ASSERT_TRUE(second.waitForFinished(StartBound));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardOutput(), QByteArray()) << "it showed a window of its own";

    // The first was told to come to the front (and ends then, as asked).
    ASSERT_TRUE(first.waitForFinished(StartBound));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(first.readAllStandardOutput(), QByteArray("raised\n"));
}

TEST(SingleInstance, NoProgramListeningIsNoAnswer) {
    testsupport::TempFolder tmp;
    EXPECT_FALSE(gui::askToFront(gui::instanceServerName(tmp.path().string()), 300));
    // Names differ by folder.
    EXPECT_NE(gui::instanceServerName("/a/zelbrin"), gui::instanceServerName("/b/zelbrin"));
}

}  // namespace
