// The program itself as a separate process on a temporary station: started with or without its
// window, fed datagrams over a real socket, stopped by a signal.
#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>
#include <string>

#include "support/temp_folder.h"

namespace vantrel::test {

// The program started in `folder` (default: root/viewer) with LOCALAPPDATA, the settings file,
// XDG_RUNTIME_DIR and XDG_CONFIG_HOME all inside root. Without "/HEADLESS" the window runs on
// the offscreen platform with message boxes off. `environment` adds variables ("NAME=value") or,
// with a bare "NAME", removes one.
std::unique_ptr<QProcess> StartProgram(const TempFolder& root, const QStringList& arguments,
                                       const std::filesystem::path& folder = {},
                                       const QStringList& environment = {});
// Sends the signal to the program. A program that is not running (its process id is 0) gets
// nothing and fails the test: kill(0, …) would signal the test's own process group.
void SendSignal(QProcess& process, int signal);
// Waits until the program's standard error holds the text; false when it ended or the time ran out.
bool WaitForOutput(QProcess& process, const QString& text, int milliseconds);
// Waits until a UDP socket is bound to the port on this machine.
bool WaitForUdpPort(int port, int milliseconds);
// WSJT-X.ini of a station with N1MM reporting to 127.0.0.1:port.
std::string StationIni(int port);
// The logged-contact datagram of contact number i (distinct callsign and time per i).
std::string NumberedDatagram(int i);
// Sends the bytes as one datagram to 127.0.0.1:port.
void SendDatagram(const std::string& bytes, int port);
// A port unlikely to be taken, different per test process and per use.
int FreePort();

}  // namespace vantrel::test
