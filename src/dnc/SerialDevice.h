// The serial line itself: a tty device file opened for this program alone,
// set raw with the line settings and any baud rate, read and written
// without blocking.  Linux only and free of Qt; CSerialComm drives it and
// nothing else should.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

enum class StopBits
{
    One,
    OneAndHalf,  // only with 5 data bits, where the UART sends 1.5 for two
    Two,
};

struct LineSettings
{
    int baud = 9600;
    char parity = 'n';  // n none, e even, o odd, m mark, s space
    int dataBits = 7;
    StopBits stopBits = StopBits::One;
};

// Reads a settings string such as "9600,n,7,1" (baud, parity letter, data
// bits, stop bits).  False with a reason when any part is not a value the
// line can take.
bool ParseLineSettings(const std::string& text, LineSettings& settings, std::string& reason);

// Line errors as the driver counts them since the port was opened.
struct LineErrorCounts
{
    int breaks = 0;
    int frame = 0;
    int overrun = 0;
    int parity = 0;
    int bufferOverrun = 0;  // the driver's receive buffer overflowed
};

// Modem line bits of ModemLines.
enum : int
{
    MODEM_CTS = 0x1,
    MODEM_DSR = 0x2,
    MODEM_CD = 0x4,
    MODEM_RING = 0x8,
};

class SerialDevice
{
public:
    SerialDevice() = default;
    ~SerialDevice() { Close(); }
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens path without blocking and locks it against every other program
    // (TIOCEXCL for opens, flock for programs that honour it).  False with a
    // reason the user can act on.
    bool Open(const std::string& path, std::string& reason);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Raw bytes with settings; handshaking 0 none, 1 XON/XOFF (the driver
    // holds the other side back when its input fills), 2 RTS/CTS, 3 both.
    bool Configure(const LineSettings& settings, int handshaking, std::string& reason);

    // What can be read now: the count read, 0 when nothing is waiting, -1
    // when the device has gone (reason set).
    ssize_t Read(char* buffer, size_t size, std::string& reason);
    // What the driver takes now: the count written (0 when it is full), -1
    // when the device has gone (reason set).
    ssize_t Write(const char* data, size_t size, std::string& reason);
    // Waits at most timeoutMs for room to write; false when the device has
    // gone or reports an error.
    bool WaitWritable(int timeoutMs) const;
    // Bytes written and not yet on the line; 0 where the driver cannot say.
    int OutputQueued() const;
    void DiscardOutput();
    void DiscardInput();

    void SetRts(bool on);
    void SetDtr(bool on);
    // False on devices without modem lines (a pseudo-terminal).
    bool ModemLines(int& lines) const;
    bool ErrorCounts(LineErrorCounts& counts) const;

private:
    void SetModemBit(int bit, bool on);

    int m_fd = -1;
};
