#include "simpty.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

using namespace std::chrono;

TSimPty::~TSimPty()
{
    Close();
}

QString TSimPty::Open(int rate)
{
    Close();
    FRate = rate;
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        throw std::runtime_error("posix_openpt failed");
    if (grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master)) {
        ::close(master);
        throw std::runtime_error("pseudo-terminal set-up failed");
    }
    FSlavePath = QString::fromLocal8Bit(ptsname(master));
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        ::close(master);
        throw std::runtime_error("cannot open the slave device");
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    speed_t code = B9600;
    for (auto [r, c] : {std::pair{19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}})
        if (r == rate)
            code = c;
    cfsetispeed(&tio, code);
    cfsetospeed(&tio, code);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    FMaster = master;
    FSlave = slave;
    FStop = false;
    {
        std::lock_guard lock(FQueueLock);
        FQueue.clear();
        FInterrupted = false;
    }
    // Sampled here, not in the reader: the PC may write and switch before that thread runs.
    FSpeedChanges.clear();
    Sample(steady_clock::now());
    FReader = std::thread(&TSimPty::ReadLoop, this);
    return FSlavePath;
}

void TSimPty::Close()
{
    FStop = true;
    if (FReader.joinable())
        FReader.join();
    if (FSlave >= 0)
        ::close(FSlave);
    if (FMaster >= 0)
        ::close(FMaster);
    FSlave = FMaster = -1;
    Interrupt();
}

int TSimPty::SpeedOfTermios(unsigned speedCode)
{
    switch (speedCode) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}

int TSimPty::SlaveSpeed() const
{
    termios tio{};
    // On the master, tcgetattr reports the slave's settings: the speed the PC chose.
    if (FMaster < 0 || tcgetattr(FMaster, &tio) != 0)
        return 0;
    return SpeedOfTermios(cfgetospeed(&tio));
}

namespace {
// How long before a read its bytes may have been written. Generous: a misjudged byte only
// matters for the module's side effects, its answer is checked against the PC's speed again
// when it is sent.
constexpr auto gSpeedWindow = 100ms;
}

void TSimPty::Sample(steady_clock::time_point now)
{
    const int speed = SlaveSpeed();
    if (FSpeedChanges.empty() || FSpeedChanges.back().second != speed)
        FSpeedChanges.emplace_back(now, speed);
    // Keep the change in effect at the window's start and everything after it.
    while (FSpeedChanges.size() > 1 && FSpeedChanges[1].first <= now - gSpeedWindow)
        FSpeedChanges.pop_front();
}

QList<int> TSimPty::SpeedsSince(steady_clock::time_point start) const
{
    QList<int> speeds;
    for (size_t i = 0; i < FSpeedChanges.size(); ++i) {
        const bool laterChangeBeforeStart = i + 1 < FSpeedChanges.size() && FSpeedChanges[i + 1].first <= start;
        if (!laterChangeBeforeStart)
            speeds << FSpeedChanges[i].second;
    }
    return speeds;
}

void TSimPty::ReadLoop()
{
    // Short poll periods keep the record of speed changes fine-grained.
    char buffer[4096];
    while (!FStop) {
        pollfd pfd{FMaster, POLLIN, 0};
        const int ready = poll(&pfd, 1, 2);
        if (ready <= 0 || !(pfd.revents & POLLIN)) {
            if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR)))
                std::this_thread::sleep_for(2ms);
            Sample(steady_clock::now());
            continue;
        }
        const ssize_t n = ::read(FMaster, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        const auto now = steady_clock::now();
        Sample(now);
        TSimChunk chunk;
        chunk.Data = QByteArray(buffer, int(n));
        chunk.Speeds = SpeedsSince(now - gSpeedWindow);
        std::lock_guard lock(FQueueLock);
        FQueue.push_back(std::move(chunk));
        FQueueSignal.notify_all();
    }
}

bool TSimPty::Take(TSimChunk &chunk, milliseconds timeout)
{
    std::unique_lock lock(FQueueLock);
    FQueueSignal.wait_for(lock, timeout, [this] { return !FQueue.empty() || FInterrupted; });
    if (FQueue.empty()) {
        FInterrupted = false;
        return false;
    }
    chunk = std::move(FQueue.front());
    FQueue.pop_front();
    return true;
}

void TSimPty::Interrupt()
{
    std::lock_guard lock(FQueueLock);
    FInterrupted = true;
    FQueueSignal.notify_all();
}

void TSimPty::SetGarble(double fraction, unsigned seed)
{
    FGarble = fraction;
    FRandom.seed(seed);
}

bool TSimPty::Understood(int rate, const TSimChunk &chunk, int &cursor)
{
    for (int i = cursor; i < chunk.Speeds.size(); ++i)
        if (chunk.Speeds[i] == rate) {
            cursor = i;
            return true;
        }
    return false;
}

char TSimPty::Garbage(char c)
{
    return char(0x80 | ((uchar(c) * 7 + 0x13) & 0x7F));
}

void TSimPty::Send(const QByteArray &bytes)
{
    if (bytes.isEmpty() || FMaster < 0)
        return;
    QByteArray out = bytes;
    if (SlaveSpeed() != FRate) {
        for (char &c : out)
            c = Garbage(c);
    }
    if (FGarble > 0) {
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        for (char &c : out)
            if (chance(FRandom) < FGarble)
                c = Garbage(char(FRandom()));
    }
    if (!FPacing) {
        WriteRaw(out.constData(), int(out.size()));
        return;
    }
    const auto byteTime = nanoseconds(10'000'000'000LL / FRate);
    const auto now = steady_clock::now();
    if (FNextByteTime < now)
        FNextByteTime = now;
    for (char c : out) {
        FNextByteTime += byteTime;
        std::this_thread::sleep_until(FNextByteTime);
        WriteRaw(&c, 1);
    }
}

void TSimPty::SendCopy(char c)
{
    WriteRaw(&c, 1);
}

void TSimPty::WriteRaw(const char *data, int count)
{
    // A PC that does not read loses what does not fit, as on a real line.
    while (count > 0 && FMaster >= 0) {
        const ssize_t n = ::write(FMaster, data, size_t(count));
        if (n > 0) {
            data += n;
            count -= int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd pfd{FMaster, POLLOUT, 0};
        if (poll(&pfd, 1, 100) <= 0)
            return;
    }
}
