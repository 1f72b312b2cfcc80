// The procedure that puts a settings record onto the serial control.
#pragma once

#include "PortSettings.h"

class CSerialComm;

// Configures comm for a transfer of kind and opens its port.  False when
// the port cannot be opened or set; the user has been told why.
bool ApplyPortSettings(CSerialComm& comm, const PortSettings& settings, TransferKind kind);
