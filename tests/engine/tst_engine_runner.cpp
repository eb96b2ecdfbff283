// The engine's creation, work folder, worker thread and tool runner, with fake tools that record
// every call.

#include "engine_test_helpers.h"
#include "fake_tools.h"
#include "preview_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString logOf(const PreviewEngine &engine)
{
    return QString::fromUtf8(readFile(engine.directory() + QStringLiteral("/process.log")));
}

} // namespace

class EngineRunner : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void creationNeedsBothTools_data();
    void creationNeedsBothTools();
    void workFolder();
    void workFolderNotCreatable();
    void workFolderIsPrivateWhateverTheUmask();
    void twoEnginesTwoFolders();
    void destructionRemovesFolder();
    void destructionToleratesMissingFolder();
    void toolPaths();

    void argumentsReachTheToolUnchanged();
    void standardOutputReadWhole();
    void standardInputIsEmpty();
    void standardErrorWithStatusZeroSucceeds();
    void failureCarriesLastCharactersOfLog();
    void failureTexts_data();
    void failureTexts();
    void eachRunStartsAFreshLog();
    void launchFailureIsPlatformError();
    void cancelledTokenStartsNothing();
    void cancellationDuringRunLetsToolFinish();
    void cancelledFutureCountsAsCancelled();

    void operationsRunOneAtATime();
    void continuationsSeeResultsAndFailures();
    void destructorFinishesRunningAndDropsQueued();
    void abortEndsRunningToolsAtOnce();

private:
    // A tool body that waits until the test calls go().
    static QString waitForGo() { return QStringLiteral("while [ ! -e \"$DIR/go\" ]; do sleep 0.02; done\n"); }
    void go() { writeFile(fake_->directory() + QStringLiteral("/go"), {}); }

    std::unique_ptr<PrivateTempDir> temp_;
    std::unique_ptr<FakeTools> fake_;
};

void EngineRunner::init()
{
    temp_ = std::make_unique<PrivateTempDir>();
    fake_ = std::make_unique<FakeTools>();
}

void EngineRunner::cleanup()
{
    QCOMPARE(PreviewEngine::liveCount(), 0);
    fake_.reset();
    temp_.reset();
}

void EngineRunner::creationNeedsBothTools_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("ffmpeg missing") << "rm ffmpeg";
    QTest::newRow("ffmpeg without any execute bit") << "chmod ffmpeg";
    QTest::newRow("ffprobe missing") << "rm ffprobe";
    QTest::newRow("ffprobe without any execute bit") << "chmod ffprobe";
    QTest::newRow("ffmpeg is a folder") << "folder ffmpeg";
    QTest::newRow("tools folder missing") << "no folder";
}

void EngineRunner::creationNeedsBothTools()
{
    QFETCH(QString, change);
    const QString tool = change.section(QLatin1Char(' '), 1);
    QString tools = fake_->directory();
    if (change.startsWith(QLatin1String("rm")))
        fake_->removeTool(tool);
    else if (change.startsWith(QLatin1String("chmod")))
        fake_->makeNotExecutable(tool); // root may run a file with one x bit, never one with none
    else if (change.startsWith(QLatin1String("folder"))) {
        fake_->removeTool(tool);
        QVERIFY(QDir(tools).mkdir(tool));
    } else
        tools += QStringLiteral("/nowhere");

    try {
        PreviewEngine engine(tools);
        QFAIL("creation succeeded");
    } catch (const PreviewError &error) {
        QCOMPARE(error.message(), PreviewError::toolsMissing());
    }
    QCOMPARE(workFolders(), QStringList());
    QVERIFY(fake_->calls().isEmpty());
}

void EngineRunner::workFolder()
{
    PreviewEngine engine(fake_->directory());
    const QFileInfo folder(engine.directory());
    QVERIFY(folder.isDir());
    QCOMPARE(folder.absolutePath(), QDir(QDir::tempPath()).absolutePath());
    static const QRegularExpression name(
        QStringLiteral("^Bitglance-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    QVERIFY2(name.match(folder.fileName()).hasMatch(), qPrintable(folder.fileName()));
    QCOMPARE(QDir(engine.directory()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QVERIFY(fake_->calls().isEmpty()); // creation runs no tool
    QCOMPARE(engine.cachedKey(), std::nullopt);
}

void EngineRunner::workFolderNotCreatable()
{
    // The temporary directory is a plain file: not even root can make a folder inside it.
    const QString file = temp_->path() + QStringLiteral("/file");
    writeFile(file, "x");
    qputenv("TMPDIR", file.toLocal8Bit());
    try {
        PreviewEngine engine(fake_->directory());
        QFAIL("creation succeeded");
    } catch (const PlatformError &error) {
        QVERIFY2(error.text().startsWith(file + QStringLiteral("/Bitglance-")), qPrintable(error.text()));
    }
    QCOMPARE(PreviewEngine::liveCount(), 0);
}

void EngineRunner::workFolderIsPrivateWhateverTheUmask()
{
    for (mode_t mask : {mode_t(0), mode_t(022), mode_t(0277)}) {
        const mode_t previous = ::umask(mask);
        PreviewEngine engine(fake_->directory());
        ::umask(previous);
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(engine.directory()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
    }
}

void EngineRunner::twoEnginesTwoFolders()
{
    PreviewEngine first(fake_->directory());
    QCOMPARE(PreviewEngine::liveCount(), 1);
    {
        PreviewEngine second(fake_->directory());
        QCOMPARE(PreviewEngine::liveCount(), 2);
        QVERIFY(first.directory() != second.directory());
        QCOMPARE(workFolders().size(), 2);
    }
    QCOMPARE(PreviewEngine::liveCount(), 1);
    QCOMPARE(workFolders(), QStringList{QFileInfo(first.directory()).fileName()});
}

void EngineRunner::destructionRemovesFolder()
{
    auto engine = std::make_unique<PreviewEngine>(fake_->directory());
    const QString folder = engine->directory();
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo log >&2\n: > \"$LAST\"\n"));
    QCOMPARE(failureText(engine->run(engine->ffmpeg(), {folder + QStringLiteral("/encoded.mp4")})),
             QStringLiteral("no failure"));
    QVERIFY(QDir(folder).mkdir(QStringLiteral("inner")));
    writeFile(folder + QStringLiteral("/inner/original.png"), "x");
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/process.log")));
    engine.reset();
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(workFolders(), QStringList());
}

void EngineRunner::destructionToleratesMissingFolder()
{
    auto engine = std::make_unique<PreviewEngine>(fake_->directory());
    QVERIFY(QDir(engine->directory()).removeRecursively());
    engine.reset(); // nothing to remove, nothing reported
    QCOMPARE(workFolders(), QStringList());
}

void EngineRunner::toolPaths()
{
    PreviewEngine engine(fake_->directory() + QStringLiteral("/"));
    QCOMPARE(engine.ffmpeg(), fake_->directory() + QStringLiteral("/ffmpeg"));
    QCOMPARE(engine.ffprobe(), fake_->directory() + QStringLiteral("/ffprobe"));
    QCOMPARE(PreviewEngine::defaultToolsDirectory(),
             QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/bitglance/Tools")));
}

void EngineRunner::argumentsReachTheToolUnchanged()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffprobe"), QStringLiteral("printf '%s|' \"$@\"\n"));
    const QStringList arguments{QStringLiteral("plain"), QStringLiteral("with space"), QStringLiteral("it's"),
                                QStringLiteral("\"double\""), QStringLiteral("$HOME"), QStringLiteral("*"),
                                QStringLiteral("a;b|c&d>e"), QString(), QStringLiteral("Ä-ö-ß"),
                                QStringLiteral("back\\slash"), QStringLiteral("-x")};
    const QByteArray output = engine.run(engine.ffprobe(), arguments).result();
    QCOMPARE(output, (arguments.join(QLatin1Char('|')) + QLatin1Char('|')).toUtf8());
    QCOMPARE(fake_->calls().size(), 1);
    QCOMPARE(fake_->calls().first().tool, QStringLiteral("ffprobe"));
    QCOMPARE(fake_->calls().first().args, arguments);
}

void EngineRunner::standardOutputReadWhole()
{
    PreviewEngine engine(fake_->directory());
    // Far more than a pipe holds: the tool blocks unless the engine reads while it waits.
    fake_->setBody(QStringLiteral("ffprobe"), QStringLiteral("yes '{\"k\":\"v\"},' | head -c 6000000\n"));
    const QByteArray output = engine.run(engine.ffprobe(), {}).result();
    QCOMPARE(output.size(), 6000000);
    QByteArray expected = QByteArray("{\"k\":\"v\"},\n").repeated(6000000 / 11 + 1);
    expected.truncate(6000000);
    QVERIFY(output == expected);
}

void EngineRunner::standardInputIsEmpty()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("cat\necho read-all\n"));
    QCOMPARE(engine.run(engine.ffmpeg(), {}).result(), QByteArray("read-all\n"));
}

void EngineRunner::standardErrorWithStatusZeroSucceeds()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo Warnung: ungewöhnlich >&2\necho out\n"));
    QCOMPARE(engine.run(engine.ffmpeg(), {}).result(), QByteArray("out\n"));
    QCOMPARE(logOf(engine), QStringLiteral("Warnung: ungewöhnlich\n"));
}

void EngineRunner::failureCarriesLastCharactersOfLog()
{
    // 3,000 user-perceived characters of many kinds, each counting once: umlauts, a decomposed
    // umlaut (two code points), an emoji (two UTF-16 units), CR LF, plain letters.
    const QStringList kinds{QStringLiteral("ä"), QStringLiteral("x"), QStringLiteral("Ö"), QStringLiteral("ß"),
                            QStringLiteral("u\u0308"), QStringLiteral("\U0001F44D"), QStringLiteral("\r\n"),
                            QStringLiteral("€"), QStringLiteral("\n"), QStringLiteral(" ")};
    QStringList characters;
    for (int i = 0; i < 3000; ++i)
        characters << kinds[(i * 7 + i / 13) % kinds.size()];
    const QString text = characters.join(QString());
    QVERIFY(text.size() > 3000);
    writeFile(fake_->directory() + QStringLiteral("/stderr.txt"), text.toUtf8());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("cat \"$DIR/stderr.txt\" >&2\nexit 1\n"));

    PreviewEngine engine(fake_->directory());
    const QString expected = characters.mid(500).join(QString());
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {})), previewError(expected));
}

void EngineRunner::failureTexts_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty log") << "exit 1" << previewError(QString());
    QTest::newRow("short log kept whole, untrimmed")
        << "printf '  Fehler in Zeile 1\\n\\n' >&2\nexit 1" << previewError(QStringLiteral("  Fehler in Zeile 1\n\n"));
    QTest::newRow("any nonzero status") << "echo nein >&2\nexit 255" << previewError(QStringLiteral("nein\n"));
    QTest::newRow("log not UTF-8") << "printf 'Fehler \\377\\376' >&2\nexit 1"
                                   << previewError(PreviewError::unknownToolFailure());
    QTest::newRow("crash is a failure") << "echo Absturz >&2\nkill -SEGV $$" << previewError(QStringLiteral("Absturz\n"));
    QTest::newRow("exactly 2500 characters")
        << "head -c 2500 /dev/zero | tr '\\0' 'z' >&2\nexit 1" << previewError(QString(2500, QLatin1Char('z')));
}

void EngineRunner::failureTexts()
{
    QFETCH(QString, body);
    QFETCH(QString, expected);
    fake_->setBody(QStringLiteral("ffmpeg"), body + QLatin1Char('\n'));
    PreviewEngine engine(fake_->directory());
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {})), expected);
}

void EngineRunner::eachRunStartsAFreshLog()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo \"$1\" >&2\n[ \"$1\" = eins ]\n"));
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {QStringLiteral("eins")})), QStringLiteral("no failure"));
    QCOMPARE(logOf(engine), QStringLiteral("eins\n"));
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {QStringLiteral("zwei")})), previewError(QStringLiteral("zwei\n")));
    QCOMPARE(logOf(engine), QStringLiteral("zwei\n"));
}

void EngineRunner::launchFailureIsPlatformError()
{
    PreviewEngine engine(fake_->directory());
    fake_->removeTool(QStringLiteral("ffmpeg"));
    const QString text = failureText(engine.run(engine.ffmpeg(), {}));
    QVERIFY2(text.startsWith(QLatin1String("PlatformError: ")) && text.size() > 15, qPrintable(text));
}

void EngineRunner::cancelledTokenStartsNothing()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo früher >&2\n"));
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {})), QStringLiteral("no failure"));
    fake_->clearCalls();

    CancelToken token;
    token.cancel();
    QCOMPARE(failureText(engine.run(engine.ffmpeg(), {}, token)), QStringLiteral("CancelledError"));
    QCOMPARE(failureText(engine.probe(QUrl::fromLocalFile(QStringLiteral("/f.mp4")), token)), QStringLiteral("CancelledError"));
    QVERIFY(fake_->calls().isEmpty());
    QCOMPARE(logOf(engine), QStringLiteral("früher\n"));
}

void EngineRunner::cancellationDuringRunLetsToolFinish()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), waitForGo() + QStringLiteral("echo done > \"$DIR/finished\"\nexit 1\n"));
    CancelToken token;
    QFuture<QByteArray> future = engine.run(engine.ffmpeg(), {}, token);
    QTRY_COMPARE(fake_->calls().size(), 1);
    token.cancel();
    go();
    // The tool's own failure is not looked at: cancellation wins after the run.
    QCOMPARE(failureText(future), QStringLiteral("CancelledError"));
    QCOMPARE(readFile(fake_->directory() + QStringLiteral("/finished")), QByteArray("done\n"));
}

void EngineRunner::cancelledFutureCountsAsCancelled()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), waitForGo());
    QFuture<QByteArray> first = engine.run(engine.ffmpeg(), {QStringLiteral("1")});
    QFuture<QByteArray> second = engine.run(engine.ffmpeg(), {QStringLiteral("2")});
    second.cancel();
    go();
    first.waitForFinished();
    QTRY_VERIFY(second.isFinished());
    QCOMPARE(fake_->calls().size(), 1);
    QVERIFY(second.isCanceled());
}

void EngineRunner::operationsRunOneAtATime()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo \"start $1\" >> \"$DIR/order\"\nsleep 0.15\n"
                                                            "echo \"end $1\" >> \"$DIR/order\"\necho \"$1\"\n"));
    QElapsedTimer timer;
    timer.start();
    QList<QFuture<QByteArray>> futures;
    for (const char *name : {"a", "b", "c"})
        futures << engine.run(engine.ffmpeg(), {QString::fromLatin1(name)});
    QVERIFY2(timer.elapsed() < 100, "the calls must not wait for the tools");
    QVERIFY(!futures.last().isFinished());
    QCOMPARE(futures[0].result(), QByteArray("a\n"));
    QCOMPARE(futures[2].result(), QByteArray("c\n"));
    QCOMPARE(futures[1].result(), QByteArray("b\n"));
    QCOMPARE(readFile(fake_->directory() + QStringLiteral("/order")),
             QByteArray("start a\nend a\nstart b\nend b\nstart c\nend c\n"));
}

void EngineRunner::continuationsSeeResultsAndFailures()
{
    PreviewEngine engine(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo \"$1\"\necho \"Fehler $1\" >&2\n[ \"$1\" = gut ]\n"));
    QObject context;
    QStringList seen;
    bool allOnMainThread = true;
    for (const char *name : {"gut", "schlecht"}) {
        engine.run(engine.ffmpeg(), {QString::fromLatin1(name)})
            .then(&context, [&](QFuture<QByteArray> future) {
                allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
                try {
                    seen << QString::fromUtf8(future.result());
                } catch (const PreviewError &error) {
                    seen << QStringLiteral("PreviewError ") + error.message();
                }
            });
    }
    QTRY_COMPARE(seen.size(), 2);
    QCOMPARE(seen, (QStringList{QStringLiteral("gut\n"), QStringLiteral("PreviewError Fehler schlecht\n")}));
    QVERIFY(allOnMainThread);
}

void EngineRunner::destructorFinishesRunningAndDropsQueued()
{
    auto engine = std::make_unique<PreviewEngine>(fake_->directory());
    const QString folder = engine->directory();
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("sleep 1\necho done > \"$DIR/finished\"\necho ok\n"));
    QFuture<QByteArray> running = engine->run(engine->ffmpeg(), {});
    QFuture<QByteArray> queued = engine->run(engine->ffmpeg(), {});
    QObject context;
    QString queuedSeen;
    queued.then(&context, [&](QFuture<QByteArray> future) { queuedSeen = failureText(failureOf(future)); });
    QTRY_COMPARE(fake_->calls().size(), 1);

    engine.reset();
    QVERIFY(running.isFinished());
    QCOMPARE(running.result(), QByteArray("ok\n"));
    QCOMPARE(readFile(fake_->directory() + QStringLiteral("/finished")), QByteArray("done\n"));
    QVERIFY(queued.isFinished());
    QCOMPARE(failureText(queued), QStringLiteral("CancelledError"));
    QTRY_COMPARE(queuedSeen, QStringLiteral("CancelledError"));
    QCOMPARE(fake_->calls().size(), 1);
    QVERIFY(!QFileInfo::exists(folder));
}

void EngineRunner::abortEndsRunningToolsAtOnce()
{
    PreviewEngine::abortAllRunningTools(); // nothing running: nothing happens
    PreviewEngine first(fake_->directory());
    PreviewEngine second(fake_->directory());
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("exec sleep 30\n"));
    QFuture<QByteArray> firstRunning = first.run(first.ffmpeg(), {});
    QFuture<QByteArray> firstQueued = first.run(first.ffmpeg(), {});
    QFuture<QByteArray> secondRunning = second.run(second.ffmpeg(), {});
    QTRY_COMPARE(fake_->calls().size(), 2);

    QElapsedTimer timer;
    timer.start();
    PreviewEngine::abortAllRunningTools();
    QCOMPARE(failureText(firstRunning), QStringLiteral("CancelledError"));
    QCOMPARE(failureText(secondRunning), QStringLiteral("CancelledError"));
    QCOMPARE(failureText(firstQueued), QStringLiteral("CancelledError"));
    QVERIFY2(timer.elapsed() < 5000, "abort must not wait for the tool");
    QCOMPARE(fake_->calls().size(), 2);

    // Later operations run as usual.
    fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo again\n"));
    QCOMPARE(first.run(first.ffmpeg(), {}).result(), QByteArray("again\n"));
    QCOMPARE(second.run(second.ffmpeg(), {}).result(), QByteArray("again\n"));
}

QTEST_GUILESS_MAIN(EngineRunner)
#include "tst_engine_runner.moc"
