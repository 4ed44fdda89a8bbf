// Reads and writes that carry on after signals and short transfers, and say where they stop.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "common/posix/path_kind.h"
#include "common/posix/retrying_io.h"

namespace common {
namespace {

void ignoreSignal(int) {}

// Interrupts every blocking call of the test thread again and again: a handler without
// SA_RESTART makes the call fail with EINTR.
class Interruptions {
public:
    Interruptions()
    {
        struct sigaction action {};
        action.sa_handler = ignoreSignal;
        sigaction(SIGALRM, &action, &previous_);
        const itimerval every{{0, 500}, {0, 500}};
        setitimer(ITIMER_REAL, &every, nullptr);
    }
    ~Interruptions()
    {
        const itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        sigaction(SIGALRM, &previous_, nullptr);
    }

private:
    struct sigaction previous_;
};

// A helper thread that never takes the alarm itself: only the calls under test see EINTR.
template <typename Work>
std::thread withoutAlarms(Work work)
{
    sigset_t alarm, previous;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, &previous);
    std::thread thread(work);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return thread;
}

// Trickles `text` into `fd` a few bytes at a time, so every read gets a part of it.
void trickle(int fd, const std::string& text, size_t step)
{
    for (size_t at = 0; at < text.size(); at += step) {
        usleep(3000);
        const size_t n = text.size() - at < step ? text.size() - at : step;
        ASSERT_EQ(write(fd, text.data() + at, n), static_cast<ssize_t>(n));
    }
    close(fd);
}

TEST(RetryingIo, CarriesOnAfterSignalsAndShortTransfers)
{
    const std::string text(4000, 'k');
    Interruptions interruptions;
    {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        std::thread writer = withoutAlarms([&] { trickle(pipeFds[1], text, 700); });
        std::string got(text.size() + 10, '\0');
        EXPECT_EQ(readFully(pipeFds[0], got.data(), got.size()), text.size());  // then the end
        EXPECT_EQ(got.substr(0, text.size()), text);
        EXPECT_EQ(readOnce(pipeFds[0], got.data(), got.size()), 0);
        writer.join();
        close(pipeFds[0]);
    }
    {
        // More than a pipe holds, so the write blocks and is interrupted while a slow reader
        // drains it.
        const std::string big(256 * 1024, 'w');
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        std::string drained;
        std::thread reader = withoutAlarms([&] {
            char buffer[4096];
            ssize_t n;
            while ((n = read(pipeFds[0], buffer, sizeof buffer)) != 0) {
                if (n > 0)
                    drained.append(buffer, static_cast<size_t>(n));
            }
            close(pipeFds[0]);
        });
        EXPECT_TRUE(writeFully(pipeFds[1], big.data(), big.size()));
        close(pipeFds[1]);
        reader.join();
        EXPECT_EQ(drained, big);
    }
}

TEST(RetryingIo, PositionedTransfersLeaveThePositionAndReportEndAndFailure)
{
    char name[] = "/tmp/retrying-io-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    unlink(name);
    EXPECT_TRUE(writeFullyAt(fd, "0123456789", 10, 0));
    EXPECT_TRUE(writeFullyAt(fd, "AB", 2, 4));
    EXPECT_EQ(lseek(fd, 0, SEEK_CUR), 0);
    char buffer[16] = {};
    const struct {
        long long offset;
        size_t size;
        long long result;
        std::string bytes;
    } reads[] = {
        {0, 10, 10, "0123AB6789"},
        {6, 8, 4, "6789"},  // the end comes first
        {10, 4, 0, ""},
        {-1, 1, -1, ""},  // pread refuses a negative offset
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(r.offset);
        EXPECT_EQ(readFullyAt(fd, buffer, r.size, r.offset), r.result);
        const size_t read = r.result > 0 ? static_cast<size_t>(r.result) : 0;
        EXPECT_EQ(std::string(buffer, read), r.bytes);
    }
    EXPECT_EQ(readFully(fd, buffer, 3), 3u);  // the position never moved
    EXPECT_EQ(std::string(buffer, 3), "012");
    close(fd);
    // A closed descriptor fails every way.
    EXPECT_EQ(readFullyAt(fd, buffer, 1, 0), -1);
    EXPECT_EQ(readFully(fd, buffer, 1), 0u);
    EXPECT_EQ(readOnce(fd, buffer, 1), -1);
    EXPECT_FALSE(writeFully(fd, "x", 1));
    EXPECT_FALSE(writeFullyAt(fd, "x", 1, 0));
}

TEST(PathKind, ModesAreFilesFoldersOrOther)
{
    EXPECT_EQ(pathKindOfMode(S_IFREG | 0644), PathKind::File);
    EXPECT_EQ(pathKindOfMode(S_IFDIR | 0755), PathKind::Folder);
    for (const mode_t other : {S_IFLNK, S_IFCHR, S_IFBLK, S_IFIFO, S_IFSOCK})
        EXPECT_EQ(pathKindOfMode(other | 0777), PathKind::Other) << other;
}

}  // namespace
}  // namespace common
