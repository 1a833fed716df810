#include "ui/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The sockets report through the event loop, so the tests need an application object.
void ensure_application()
{
    static int argc = 1;
    static char name[] = "single_instance_test";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Processes events until `done` or a few seconds have passed.
template <typename Done>
bool wait_for(Done done)
{
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// The id of a process that has ended.
qint64 dead_pid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// A socket file with nobody listening, as a killed instance leaves it.
void leave_dead_socket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(static_cast<size_t>(bytes.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensure_application();
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SingleInstanceTest, SecondInstanceFailsAndRaisesTheFirst)
{
    SingleInstance first(instance_key(), dir.path());
    int activations = 0;
    first.on_activation = [&] { ++activations; };
    ASSERT_TRUE(first.acquire());
    EXPECT_EQ(first.socket_path(), QDir(dir.path()).filePath(QStringLiteral("yorimo by Brindlecap")));

    SingleInstance second(instance_key(), dir.path());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.request_activation());
    EXPECT_TRUE(wait_for([&] { return activations == 1; }));

    // Each further start asks again.
    SingleInstance third(instance_key(), dir.path());
    EXPECT_FALSE(third.acquire());
    EXPECT_TRUE(third.request_activation());
    EXPECT_TRUE(wait_for([&] { return activations == 2; }));
}

TEST_F(SingleInstanceTest, OtherKeysAndReleasedLocksDoNotBlock)
{
    SingleInstance first(instance_key(), dir.path());
    ASSERT_TRUE(first.acquire());
    SingleInstance other(QStringLiteral("another program"), dir.path());
    EXPECT_TRUE(other.acquire());

    first.release();
    SingleInstance next(instance_key(), dir.path());
    int activations = 0;
    next.on_activation = [&] { ++activations; };
    ASSERT_TRUE(next.acquire());
    SingleInstance later(instance_key(), dir.path());
    EXPECT_FALSE(later.acquire());
    EXPECT_TRUE(later.request_activation());
    EXPECT_TRUE(wait_for([&] { return activations == 1; }));
}

TEST_F(SingleInstanceTest, LeftoversOfACrashedInstanceAreTakenOver)
{
    const QString socket = QDir(dir.path()).filePath(instance_key());
    QFile lock(socket + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(dead_pid()) + "\nyorimo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    leave_dead_socket(socket);

    SingleInstance started(instance_key(), dir.path());
    int activations = 0;
    started.on_activation = [&] { ++activations; };
    ASSERT_TRUE(started.acquire());

    // The new instance listens on the socket in place of the dead one.
    SingleInstance second(instance_key(), dir.path());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.request_activation());
    EXPECT_TRUE(wait_for([&] { return activations == 1; }));
}

TEST_F(SingleInstanceTest, ALockOfALiveProcessIsRespected)
{
    // A lock naming a running process, this one, is not stale however old it is.
    QFile lock(QDir(dir.path()).filePath(instance_key()) + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    lock.write(QByteArray::number(QCoreApplication::applicationPid()) + "\n" +
               QFileInfo(exe).fileName().toUtf8() + "\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    SingleInstance blocked(instance_key(), dir.path());
    EXPECT_FALSE(blocked.acquire());
}

TEST_F(SingleInstanceTest, NoRunningInstanceMeansNoActivation)
{
    SingleInstance lone(instance_key(), dir.path());
    EXPECT_FALSE(lone.request_activation());
}
