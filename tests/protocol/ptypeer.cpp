#include "ptypeer.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer()
{
    FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (FMaster < 0 || grantpt(FMaster) != 0 || unlockpt(FMaster) != 0)
        throw std::runtime_error("no pseudo-terminal");
    termios tio{};
    tcgetattr(FMaster, &tio);
    cfmakeraw(&tio);
    tcsetattr(FMaster, TCSANOW, &tio);
    FSlavePath = QString::fromLocal8Bit(ptsname(FMaster));
}

PtyPeer::~PtyPeer()
{
    Join();
    Hangup();
}

void PtyPeer::Run(std::function<void(PtyPeer &)> script)
{
    Join();
    FThread = std::thread([this, script] { script(*this); });
}

void PtyPeer::Join()
{
    if (FThread.joinable())
        FThread.join();
}

QByteArray PtyPeer::ReadUntil(const QByteArray &end, int timeoutMs)
{
    return ReadSome(end, -1, timeoutMs);
}

QByteArray PtyPeer::ReadSome(const QByteArray &end, int maxBytes, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    QByteArray got;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (FMaster >= 0 && (end.isEmpty() || !got.endsWith(end)) && got.size() != maxBytes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{FMaster, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, int(left)) <= 0)
            break;
        char ch = 0;
        const ssize_t n = read(FMaster, &ch, 1);
        if (n == 1) {
            got += ch;
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        } else {
            // The slave is closed for the moment (e.g. while the port is reopened): wait a little.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return got;
}

QByteArray PtyPeer::ReadCount(int n, int timeoutMs)
{
    return ReadSome(QByteArray(), n, timeoutMs);
}

QByteArray PtyPeer::ReadQuiet(int quietMs)
{
    return ReadUntil(QByteArray(), quietMs);
}

void PtyPeer::Write(const QByteArray &data)
{
    if (FMaster >= 0 && !data.isEmpty())
        (void)!write(FMaster, data.constData(), size_t(data.size()));
}

void PtyPeer::Trickle(const QByteArray &data, int gapMs)
{
    for (char ch : data) {
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        Write(QByteArray(1, ch));
    }
}

void PtyPeer::Hangup()
{
    if (FMaster >= 0)
        close(FMaster);
    FMaster = -1;
}

unsigned PtyPeer::LineSpeed() const
{
    termios tio{};
    tcgetattr(FMaster, &tio);
    return unsigned(cfgetospeed(&tio));
}
