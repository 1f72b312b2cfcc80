// The tty device under CSerialComm.  termios2 with BOTHER sets any baud rate
// (14400, 56000, 128000 and 256000 have no Bxxx constant), so this file
// uses the kernel's termios structures and not those of <termios.h>, which
// cannot be included beside them.
#include "SerialDevice.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

std::string SystemReason(int error)
{
    return std::strerror(error);
}

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Whether the error says the device is no longer there (unplugged, hung up).
bool IsDeviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV || error == EBADF || error == EPIPE;
}

}  // namespace

bool ParseLineSettings(const std::string& text, LineSettings& settings, std::string& reason)
{
    std::string parts[4];
    size_t count = 0;
    size_t start = 0;
    while (count < 4) {
        const size_t comma = text.find(',', start);
        parts[count++] = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (count != 4 || text.find(',', start) != std::string::npos) {
        reason = "设置 \"" + text + "\" 应为 波特率,校验,数据位,停止位";
        return false;
    }
    LineSettings parsed;
    if (!ParseInt(parts[0], parsed.baud) || parsed.baud <= 0) {
        reason = "波特率 \"" + parts[0] + "\" 不是有效的数值";
        return false;
    }
    if (parts[1].size() != 1 || std::string("neoms").find(char(parts[1][0] | 0x20)) == std::string::npos) {
        reason = "校验方式 \"" + parts[1] + "\" 无效";
        return false;
    }
    parsed.parity = char(parts[1][0] | 0x20);
    if (!ParseInt(parts[2], parsed.dataBits) || parsed.dataBits < 5 || parsed.dataBits > 8) {
        reason = "数据位 \"" + parts[2] + "\" 无效，只能是 5 到 8";
        return false;
    }
    if (parts[3] == "1")
        parsed.stopBits = StopBits::One;
    else if (parts[3] == "2")
        parsed.stopBits = StopBits::Two;
    else if (parts[3] == "1.5") {
        if (parsed.dataBits != 5) {
            reason = "1.5 个停止位只能用于 5 个数据位";
            return false;
        }
        parsed.stopBits = StopBits::OneAndHalf;
    } else {
        reason = "停止位 \"" + parts[3] + "\" 无效";
        return false;
    }
    settings = parsed;
    return true;
}

bool SerialDevice::Open(const std::string& path, std::string& reason)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENXIO || error == ENODEV)
            reason = "串口设备 " + path + " 不存在";
        else if (error == EACCES || error == EPERM)
            reason = "没有权限打开 " + path + "：请把用户加入 dialout 组（sudo usermod -aG dialout 用户名），然后重新登录";
        else if (error == EBUSY)
            reason = path + " 正被其他程序使用";
        else
            reason = "不能打开 " + path + "：" + SystemReason(error);
        return false;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        reason = path + " 不是串口设备";
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        reason = error == EWOULDBLOCK ? path + " 正被其他程序使用" : "不能锁定 " + path + "：" + SystemReason(error);
        return false;
    }
    m_fd = fd;
    return true;
}

void SerialDevice::Close()
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);  // the flock goes with the descriptor
    m_fd = -1;
}

bool SerialDevice::Configure(const LineSettings& settings, int handshaking, std::string& reason)
{
    struct termios2 tio;
    if (::ioctl(m_fd, TCGETS2, &tio) != 0) {
        reason = "不能读取串口设置：" + SystemReason(errno);
        return false;
    }
    // Raw: no echo, no line editing, no translation of CR or LF, no signals.
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = tio.c_ospeed = unsigned(settings.baud);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= sizes[settings.dataBits - 5];
    switch (settings.parity) {
    case 'e':
        tio.c_cflag |= PARENB;
        break;
    case 'o':
        tio.c_cflag |= PARENB | PARODD;
        break;
    case 'm':
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 's':
        tio.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // With 5 data bits the UART sends 1.5 stop bits where two are asked for.
    if (settings.stopBits != StopBits::One)
        tio.c_cflag |= CSTOPB;
    // XON/XOFF: the driver sends DC3 when its input fills and DC1 when it
    // has room.  It does not act on DC1 and DC3 that arrive (IXON): the
    // send dialog paces itself on them, and a program received keeps every
    // byte it holds.
    if (handshaking == 1 || handshaking == 3)
        tio.c_iflag |= IXOFF;
    if (handshaking == 2 || handshaking == 3)
        tio.c_cflag |= CRTSCTS;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::ioctl(m_fd, TCSETS2, &tio) != 0) {
        reason = "串口不接受这些设置：" + SystemReason(errno);
        return false;
    }
    // The driver may round an odd rate to what the hardware can do; a rate
    // it cannot come near is refused rather than sent wrong.
    struct termios2 check;
    if (::ioctl(m_fd, TCGETS2, &check) == 0 && check.c_ospeed != 0) {
        const long asked = settings.baud;
        const long got = long(check.c_ospeed);
        if ((got > asked ? got - asked : asked - got) * 50 > asked) {
            reason = "串口不支持波特率 " + std::to_string(settings.baud);
            return false;
        }
    }
    return true;
}

ssize_t SerialDevice::Read(char* buffer, size_t size, std::string& reason)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n > 0)
            return n;
        if (n == 0) {
            // A tty reads 0 only when the other side has hung up.
            reason = "串口设备已断开";
            return -1;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        reason = IsDeviceGone(errno) ? "串口设备已断开" : "读取串口出错：" + SystemReason(errno);
        return -1;
    }
}

ssize_t SerialDevice::Write(const char* data, size_t size, std::string& reason)
{
    for (;;) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        reason = IsDeviceGone(errno) ? "串口设备已断开" : "写入串口出错：" + SystemReason(errno);
        return -1;
    }
}

bool SerialDevice::WaitWritable(int timeoutMs) const
{
    pollfd p{m_fd, POLLOUT, 0};
    const int n = ::poll(&p, 1, timeoutMs);
    if (n < 0)
        return errno == EINTR;
    return (p.revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;
}

int SerialDevice::OutputQueued() const
{
    int queued = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0)
        return 0;
    return queued;
}

void SerialDevice::DiscardOutput()
{
    ::ioctl(m_fd, TCFLSH, TCOFLUSH);
}

void SerialDevice::DiscardInput()
{
    ::ioctl(m_fd, TCFLSH, TCIFLUSH);
}

void SerialDevice::SetModemBit(int bit, bool on)
{
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit);
}

void SerialDevice::SetRts(bool on)
{
    SetModemBit(TIOCM_RTS, on);
}

void SerialDevice::SetDtr(bool on)
{
    SetModemBit(TIOCM_DTR, on);
}

bool SerialDevice::ModemLines(int& lines) const
{
    int bits = 0;
    if (::ioctl(m_fd, TIOCMGET, &bits) != 0)
        return false;
    lines = ((bits & TIOCM_CTS) ? MODEM_CTS : 0) | ((bits & TIOCM_DSR) ? MODEM_DSR : 0) |
            ((bits & TIOCM_CD) ? MODEM_CD : 0) | ((bits & TIOCM_RI) ? MODEM_RING : 0);
    return true;
}

bool SerialDevice::ErrorCounts(LineErrorCounts& counts) const
{
    serial_icounter_struct icount{};
    if (::ioctl(m_fd, TIOCGICOUNT, &icount) != 0)
        return false;
    counts.breaks = icount.brk;
    counts.frame = icount.frame;
    counts.overrun = icount.overrun;
    counts.parity = icount.parity;
    counts.bufferOverrun = icount.buf_overrun;
    return true;
}
