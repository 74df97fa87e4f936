// Kills the diary at random moments of its data operations and checks what the next start
// finds. Each run copies a small diary, starts this program again as the child that does
// the operation through the main window, kills it with SIGKILL after a random delay, runs
// the start-up path over what is left and checks it (CrashCheck.cpp).
//
//   crash_driver [--kills N] [--seed S] [operation...]   operations: registration import
//                                                        apply password backup restore
//                                                        encrypt-on encrypt-off
//                                                        (all by default)
#include "CrashChild.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <signal.h>
#include <sys/types.h>

namespace {

struct Figures
{
    int kills = 0;
    int endedFirst = 0; // the child finished before the kill came
    int failingRuns = 0;
    QMap<QString, int> byCheck;
    QStringList examples;

    void record(const QStringList& failures)
    {
        if (failures.isEmpty())
            return;
        ++failingRuns;
        QSet<QString> checks;
        for (const QString& failure : failures)
            checks.insert(failure.section(u':', 0, 0));
        for (const QString& check : checks)
            ++byCheck[check];
        if (examples.size() < 6)
            examples.append(failures.mid(0, 2));
    }
};

class Driver
{
public:
    Driver(CrashOp op, const QString& work, QRandomGenerator& random)
        : m_op(op), m_fixture{work + QStringLiteral("/fixture-") + opName(op)},
          m_run{work + QStringLiteral("/run-") + opName(op)}, m_random(random)
    {}

    Figures exercise(int kills)
    {
        Figures figures;
        if (const QString error = buildFixture(m_op, m_fixture); !error.isEmpty()) {
            figures.record({QStringLiteral("fixture: ") + error});
            return figures;
        }
        // A run without a kill: it must pass, and it tells how long the rounds take.
        const qint64 window = runOnce(-1, figures);
        if (window < 0)
            return figures;
        std::printf("%s: the rounds take %lld µs without a kill\n", qPrintable(opName(m_op)),
                    window);
        for (int attempt = 0; figures.kills < kills && attempt < 4 * kills; ++attempt)
            runOnce(qint64(m_random.bounded(quint32(window) + 1)), figures);
        return figures;
    }

private:
    // Runs the child on a fresh copy and kills it `delay` µs after it is ready (never when
    // negative). Returns how long the rounds took when the child reached its end, else 0.
    qint64 runOnce(qint64 delay, Figures& figures)
    {
        QDir(m_run.root).removeRecursively();
        if (!copyFolder(m_fixture.root, m_run.root)) {
            figures.record({QStringLiteral("fixture: cannot copy")});
            return -1;
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("child"), opName(m_op), m_run.root});
        if (!waitForLine(child, "ready")) {
            figures.record({QStringLiteral("child: did not start: ") +
                            QString::fromLocal8Bit(child.readAllStandardError())});
            return -1;
        }
        QElapsedTimer rounds;
        rounds.start();
        qint64 took = 0;
        if (delay >= 0) {
            QThread::usleep(quint64(delay));
            ::kill(pid_t(child.processId()), SIGKILL);
            child.waitForFinished(-1);
            if (child.exitStatus() == QProcess::CrashExit)
                ++figures.kills;
            else
                ++figures.endedFirst;
        } else {
            if (!waitForLine(child, "done"))
                figures.record({QStringLiteral("child: did not finish")});
            took = rounds.nsecsElapsed() / 1000;
            child.waitForFinished(-1);
        }
        QStringList failures = recoverAndCheck(m_op, m_run, m_fixture);
        // A box in the child means an operation failed without any kill.
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        for (const QString& line : errors.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("box ")))
                failures.append(QStringLiteral("child: ") + line);
        }
        if (delay < 0 && (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0))
            failures.append(
                QStringLiteral("child: ended with %1\n%2").arg(child.exitCode()).arg(errors));
        figures.record(failures);
        return took;
    }

    static bool waitForLine(QProcess& child, const char* line)
    {
        while (!child.canReadLine()) {
            if (!child.waitForReadyRead(60000))
                return false;
        }
        return child.readLine().trimmed() == line;
    }

    CrashOp m_op;
    RunFolder m_fixture;
    RunFolder m_run;
    QRandomGenerator& m_random;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "child") == 0) {
        QApplication app(argc, argv);
        const std::optional<CrashOp> op = opFromName(QString::fromLatin1(argv[2]));
        return op ? runChild(*op, RunFolder{QString::fromLocal8Bit(argv[3])}) : 2;
    }
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("kills"), QStringLiteral("Kills per operation."),
                      QStringLiteral("n"), QStringLiteral("50")});
    parser.addOption(
        {QStringLiteral("seed"), QStringLiteral("Seed of the kill delays."), QStringLiteral("n")});
    parser.addPositionalArgument(
        QStringLiteral("operation"),
        QStringLiteral("registration import apply password backup restore encrypt-on encrypt-off"));
    parser.process(app);

    QList<CrashOp> ops;
    for (const QString& name : parser.positionalArguments()) {
        const std::optional<CrashOp> op = opFromName(name);
        if (!op)
            parser.showHelp(2);
        ops.append(*op);
    }
    if (ops.isEmpty())
        ops = allOps();
    const quint32 seed = parser.isSet(QStringLiteral("seed"))
                             ? parser.value(QStringLiteral("seed")).toUInt()
                             : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    const int kills = parser.value(QStringLiteral("kills")).toInt();
    std::printf("seed %u\n", seed);

    QTemporaryDir work;
    int failing = 0;
    for (CrashOp op : ops) {
        const Figures figures = Driver(op, work.path(), random).exercise(kills);
        std::printf("%s: %d kills (%d runs ended before the kill), %d failing runs\n",
                    qPrintable(opName(op)), figures.kills, figures.endedFirst, figures.failingRuns);
        for (auto it = figures.byCheck.cbegin(); it != figures.byCheck.cend(); ++it)
            std::printf("  %s: %d runs\n", qPrintable(it.key()), *it);
        for (const QString& example : figures.examples)
            std::printf("    %s\n", qPrintable(example));
        std::fflush(stdout);
        failing += figures.failingRuns + (figures.kills < kills ? 1 : 0);
    }
    return failing == 0 ? 0 : 1;
}
