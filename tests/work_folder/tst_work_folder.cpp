// The engine's work folder: an engine needs both tools, its folder is private and goes with it,
// also when the program ends through exit(); abandoned folders of ended programs go at the start,
// and a removal never reaches outside the folder.

#include "engine/internal/work_folder.h"
#include "engine/preview_engine.h"
#include "support/failure_text.h"
#include "support/fake_tools.h"
#include "support/private_temp_dir.h"
#include "support/text_table.h"

#include <QtTest>

#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <utime.h>

class WorkFolderTests : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateTempDir> temp_;
    std::unique_ptr<FakeTools> fake_;
    std::unique_ptr<PreviewEngine> engine_;
    std::unique_ptr<WorkFolder> folder_; // the tool runner's

private slots:
    void init()
    {
        temp_ = std::make_unique<PrivateTempDir>();
        fake_ = std::make_unique<FakeTools>();
        engine_ = std::make_unique<PreviewEngine>(fake_->directory());
        folder_ = std::make_unique<WorkFolder>();
    }
    void cleanup()
    {
        engine_.reset(), folder_.reset();
        QCOMPARE(PreviewEngine::liveCount(), 0);
        QCOMPARE(QDir(QDir::tempPath()).entryList({"Bitglance-*"}, QDir::Dirs), QStringList());
        fake_.reset(), temp_.reset(); // the next one's TMPDIR is set after this one is restored
    }

    void creationNeedsBothTools_data()
    {
        columns({"change"}); // in the tools folder; root runs a file with one execute bit, not with none
        for (const char *change : {"rm ffmpeg", "chmod a-x ffmpeg", "rm ffprobe", "chmod a-x ffprobe",
                                   "rm ffmpeg && mkdir ffmpeg", "cd .. && rm -r \"$OLDPWD\""})
            row(change, change);
    }
    void creationNeedsBothTools()
    {
        QFETCH(QString, change);
        engine_.reset();
        QCOMPARE(QProcess::execute("sh", {"-c", "cd \"$1\" && " + change, "sh", fake_->directory()}), 0);
        QCOMPARE(failureOf([&] { PreviewEngine(fake_->directory()); }),
                 previewError(PreviewError::toolsMissing().message()));
    }

    // Private whatever the umask, holding only its owner record (creation runs no tool), in /tmp
    // when $TMPDIR does not exist; removed with everything in it, also when it is gone already or
    // the program ends through exit() with the engine alive.
    void workFolder()
    {
        for (mode_t mask : {mode_t(0), mode_t(0277)}) {
            const mode_t previous = ::umask(mask);
            PreviewEngine engine(fake_->directory());
            ::umask(previous);
            QCOMPARE(int(QFileInfo(engine.directory()).permissions()), 0x7700); // the owner's alone
            QCOMPARE(QDir(engine.directory()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{"owner"});
            QVERIFY(QDir(engine.directory()).mkpath("inner/deeper") && fake_->calls().isEmpty());
        }
        qputenv("TMPDIR", QFile::encodeName(temp_->dir.filePath("fehlt")));
        QCOMPARE(QFileInfo(PreviewEngine(fake_->directory()).directory()).path(), "/tmp");
        qputenv("TMPDIR", QFile::encodeName(temp_->dir.path()));
        QVERIFY(QDir(engine_->directory()).removeRecursively());
        QProcess exiting; // this program as a child, ending as Qt ends one whose display went away
        exiting.start(QCoreApplication::applicationFilePath(), {"--exit-with-engine", fake_->directory()});
        QVERIFY(exiting.waitForFinished(60000) && exiting.exitCode() == 0);
        const QString exited = exiting.readAllStandardOutput().trimmed();
        QVERIFY2(exited.contains("Bitglance-") && !QFileInfo::exists(exited), qPrintable(exited));
    }

    // The folders of this user's engines whose process is gone go; nothing else is touched. An
    // owner in another PID namespace shows by its lock alone; a FIFO or link is no record.
    void abandonedFolders()
    {
        const QString pid = QString::number(::getpid());
        QStringList kept{QFileInfo(engine_->directory()).fileName()}, gone;
        QFile locked;
        for (const QString &entry :
             QStringList{"gone 999999999 1", "gone " + pid + " 1", "gone old", "kept young", "kept other user",
                         "kept link", "kept file", "kept abc", "kept locked", "kept young fifo", "gone old fifo"}) {
            const QString name = "Bitglance-"
                + (entry.endsWith("abc") ? "abc" : QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
            const QString path = QDir::temp().filePath(name), record = entry.section(' ', 1);
            (entry.startsWith("kept") ? kept : gone) << name;
            const QString folder =
                entry.endsWith("link") ? temp_->dir.filePath("Ziel") : path; // one that looks abandoned
            QVERIFY(entry.endsWith("file") ? QFile(path).open(QIODevice::WriteOnly) : QDir().mkpath(folder));
            QFile owner(folder + "/owner");
            QFile &written = record == "locked" ? locked : owner;
            written.setFileName(owner.fileName());
            QVERIFY(entry.endsWith("file") || record == "old" || record == "young"
                    || (record.endsWith("fifo") ? ::mkfifo(QFile::encodeName(owner.fileName()), 0600) == 0
                                                : written.open(QIODevice::WriteOnly)
                                && written.write(record.front().isDigit() ? record.toLatin1() : "999999999 1")
                                && written.flush()));
            QVERIFY(record != "locked" || ::flock(locked.handle(), LOCK_EX) == 0);
            const utimbuf old{std::time(nullptr) - 120, std::time(nullptr) - 120};
            QVERIFY((!record.startsWith("old") || ::utime(QFile::encodeName(path), &old) == 0)
                    && (folder == path || QFile::link(folder, path)));
            if (record == "other user" && ::chown(QFile::encodeName(path), 65534, 65534) != 0)
                gone << kept.takeLast(); // only root can give a folder away
        }
        WorkFolder::removeAbandoned(QDir::tempPath());
        for (const QString &name : kept + gone) {
            const QString path = QDir::temp().filePath(name);
            QVERIFY2(QFileInfo::exists(path) == kept.contains(name), qPrintable(name));
            QVERIFY(name == kept.first() || QFile::remove(path) || QDir(path).removeRecursively()); // not the engine's
        }
    }

    // A removal stays inside the folder, also where a folder inside cannot be emptied (root's right
    // to do so is dropped for it): a link goes as a link, nothing it names changes its mode.
    void removalStaysInside()
    {
        const QString outside = temp_->dir.filePath("fremd"), inner = folder_->file("innen");
        QVERIFY(QDir().mkpath(outside + "/Ordner") && QDir().mkpath(inner));
        QVERIFY(QFile(outside + "/Datei").open(QIODevice::WriteOnly)
                && ::chmod(QFile::encodeName(outside + "/Datei"), 0400) == 0);
        QVERIFY(QFile::link(outside + "/Datei", inner + "/Datei")
                && QFile::link(outside + "/Ordner", inner + "/Ordner"));
        QVERIFY(::chmod(QFile::encodeName(inner), 0500) == 0);
        const QString path = folder_->path();
        std::thread([this] {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct capabilities[2] = {};
            ::syscall(SYS_capget, &header, capabilities);
            capabilities[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            ::syscall(SYS_capset, &header, capabilities); // this thread's alone
            folder_.reset();
        }).join();
        struct stat info = {};
        QVERIFY(!QFileInfo::exists(path) && ::stat(QFile::encodeName(outside + "/Datei"), &info) == 0);
        QCOMPARE(info.st_mode & 07777, 0400u);
        QVERIFY(QFileInfo(outside + "/Ordner").isDir());
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--exit-with-engine") { // leaves as Qt does when the display goes
        std::printf("%s\n", qPrintable((new PreviewEngine(argv[2]))->directory()));
        std::exit(0);
    }
    WorkFolderTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_work_folder.moc"
