// Putting a settings record onto the serial control.
#include "ApplyPortSettings.h"

#include "AfxMessageBox.h"
#include "CSerialComm.h"

bool ApplyPortSettings(CSerialComm& comm, const PortSettings& settings, TransferKind kind)
{
    comm.SetPortOpen(false);
    // COM1 to COM4 (or any COMn the profile maps), else a device file.
    bool numbered = false;
    const int number = settings.port.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)
                           ? settings.port.mid(3).toInt(&numbered)
                           : 0;
    if (numbered && number > 0)
        comm.SetCommPort(number);
    else
        comm.SetDevicePath(settings.port);
    comm.SetOutBufferSize(512);
    comm.SetInBufferSize(1024);
    comm.SetPortOpen(true);
    if (!comm.PortOpen() || !comm.SetSettings(SettingsString(settings))) {
        const QString reason = comm.LastError();
        comm.SetPortOpen(false);
        AfxMessageBox(QStringLiteral("不能打开指定的串口！\n%1").arg(reason), MB_OK | MB_ICONERROR);
        return false;
    }
    comm.SetEOFEnable(false);
    comm.SetSThreshold(0);
    comm.SetRThreshold(1);
    comm.SetInputMode(1);
    comm.SetOutBufferCount(0);
    comm.SetInputLen(0);
    if (kind == TransferKind::Send)
        comm.Input();
    comm.SetHandshaking(HandshakingFor(settings, kind));
    comm.SetRTSEnable(settings.rtsCts != 0);
    comm.SetDTREnable(settings.dtrDsr != 0);
    return true;
}
