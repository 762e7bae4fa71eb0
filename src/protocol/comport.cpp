#include "comport.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

speed_t SpeedOf(int rate)
{
    switch (rate) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Unix98 pseudo-terminal slaves have the major numbers 136 to 143.
bool IsPseudoTerminal(int fd)
{
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

} // namespace

TComPort::TComPort(QObject *parent) : QObject(parent) {}

TComPort::~TComPort()
{
    Close();
}

void TComPort::SetPort(const QString &name)
{
    FPort = name;
}

QString TComPort::Port() const
{
    return FPort;
}

void TComPort::SetBaudRate(int rate)
{
    if (SpeedOf(rate) == 0)
        throw EComPort("unsupported baud rate " + std::to_string(rate));
    FBaudRate = rate;
    if (Connected())
        ApplyLineSettings(true);
}

void TComPort::ThrowError(const char *what) const
{
    throw EComPort(std::string(what) + " " + FPort.toStdString() + ": " + std::strerror(errno));
}

void TComPort::Open()
{
    if (Connected())
        return;
    const QByteArray path = FPort.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        ThrowError("cannot open");
    FFd = fd;
    try {
        ApplyLineSettings(false);
    } catch (...) {
        ::close(fd);
        FFd = -1;
        throw;
    }
    // Only the receive side: a pseudo-terminal's output flush would discard bytes written
    // just before a reopen that the far end has not read yet.
    tcflush(fd, TCIFLUSH);
    FPseudoTerminal = IsPseudoTerminal(fd);
    // The notification needs the event loop of the port's own thread.
    if (QThread::currentThread() == thread()) {
        FNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(FNotifier, &QSocketNotifier::activated, this, &TComPort::HandleActivated);
        FNotifierOff = false;
    }
}

void TComPort::ApplyLineSettings(bool drainFirst)
{
    termios tio{};
    if (tcgetattr(FFd, &tio) != 0)
        ThrowError("cannot read the settings of");
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, SpeedOf(FBaudRate));
    cfsetospeed(&tio, SpeedOf(FBaudRate));
    // TCSADRAIN: bytes already written still leave at the old rate.
    if (tcsetattr(FFd, drainFirst ? TCSADRAIN : TCSANOW, &tio) != 0)
        ThrowError("cannot configure");
}

void TComPort::Close()
{
    const int fd = FFd.exchange(-1);
    if (fd < 0)
        return;
    delete FNotifier;
    FNotifier = nullptr;
    tcdrain(fd);
    ::close(fd);
}

void TComPort::SetTimeouts(const TComTimeouts &timeouts)
{
    std::lock_guard lock(FTimeoutsLock);
    FTimeouts = timeouts;
}

TComTimeouts TComPort::Timeouts() const
{
    std::lock_guard lock(FTimeoutsLock);
    return FTimeouts;
}

void TComPort::PurgeInput()
{
    if (!Connected())
        return;
    tcflush(FFd, TCIFLUSH);
    ArmNotifier();
}

// A pseudo-terminal has no transmit queue to purge; flushing it would drop bytes in flight.
void TComPort::PurgeOutput()
{
    if (Connected() && !FPseudoTerminal)
        tcflush(FFd, TCOFLUSH);
}

int TComPort::Write(const QByteArray &data)
{
    const int fd = FFd;
    if (fd < 0)
        throw EComPort("port " + FPort.toStdString() + " is not open");
    int written = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(1000 + 100 * data.size());
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n > 0) {
            written += int(n);
            FBytesWritten += quint64(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            ThrowError("cannot write to");
        pollfd p{fd, POLLOUT, 0};
        const int wait = RemainingMs(deadline);
        if (wait == 0 || ::poll(&p, 1, wait) == 0)
            break; // write time-out: report what went out
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            throw EComPort("port " + FPort.toStdString() + " hung up");
    }
    return written;
}

int TComPort::Read(char *buffer, int count)
{
    const int fd = FFd;
    if (fd < 0)
        throw EComPort("port " + FPort.toStdString() + " is not open");
    if (count <= 0)
        return 0;
    const TComTimeouts t = Timeouts();
    const bool hasTotal = t.ReadTotalConstant > 0 || t.ReadTotalMultiplier > 0;
    const bool hasInterval = t.ReadInterval > 0;
    if (t.ReadInterval < 0 && !hasTotal) {
        // Return at once with whatever is waiting.
        const ssize_t n = ::read(fd, buffer, size_t(count));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            ThrowError("cannot read from");
        if (n <= 0)
            return 0;
        FBytesRead += quint64(n);
        ArmNotifier();
        return int(n);
    }
    const auto start = Clock::now();
    const auto totalDeadline = start + std::chrono::milliseconds(
        qint64(t.ReadTotalConstant) + qint64(t.ReadTotalMultiplier) * count);
    int got = 0;
    bool hungUp = false;
    Clock::time_point intervalDeadline = Clock::time_point::max();
    while (got < count) {
        const ssize_t n = ::read(fd, buffer + got, size_t(count - got));
        if (n > 0) {
            got += int(n);
            if (hasInterval)
                intervalDeadline = Clock::now() + std::chrono::milliseconds(t.ReadInterval);
            continue;
        }
        // A raw tty without VMIN reads 0 when nothing waits; after a hang-up poll says so and
        // the read still gives 0 (a pseudo-terminal) or EIO (a vanished USB adapter).
        if ((n < 0 && errno == EIO) || hungUp)
            throw EComPort("port " + FPort.toStdString() + " hung up");
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            ThrowError("cannot read from");
        int wait = -1;
        if (hasTotal)
            wait = RemainingMs(totalDeadline);
        if (got > 0 && hasInterval) {
            const int gap = RemainingMs(intervalDeadline);
            wait = wait < 0 ? gap : std::min(wait, gap);
        }
        if (wait == 0)
            break;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno != EINTR)
            ThrowError("cannot wait on");
        hungUp = ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    }
    if (got > 0) {
        FBytesRead += quint64(got);
        ArmNotifier();
    }
    return got;
}

QByteArray TComPort::Read(int count)
{
    QByteArray data(count, Qt::Uninitialized);
    data.resize(Read(data.data(), count));
    return data;
}

int TComPort::BytesWaiting() const
{
    const int fd = FFd;
    if (fd < 0)
        return 0;
    int waiting = 0;
    if (ioctl(fd, FIONREAD, &waiting) != 0)
        return 0;
    return waiting;
}

// The notifier is level-triggered; it is switched off while notified bytes wait unread and
// switched on again once they are consumed, so unread bytes cost no CPU.
void TComPort::ArmNotifier()
{
    if (!FNotifierOff)
        return;
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this] { ArmNotifier(); }, Qt::QueuedConnection);
        return;
    }
    if (FNotifier) {
        FNotifierOff = false;
        FNotifier->setEnabled(true);
    }
}

void TComPort::HandleActivated()
{
    FNotifier->setEnabled(false);
    FNotifierOff = true;
    const int count = BytesWaiting();
    if (count > 0 && OnRxChar)
        OnRxChar(count);
    // Nothing waiting means a hang-up: stay quiet until the next purge or read.
    if (count > 0 && FNotifier && BytesWaiting() == 0) {
        FNotifierOff = false;
        FNotifier->setEnabled(true);
    }
}
