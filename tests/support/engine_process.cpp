#include "support/engine_process.h"

#include <signal.h>
#include <unistd.h>

#include <QProcessEnvironment>
#include <QThread>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace vantrel::test {

std::unique_ptr<QProcess> StartProgram(const TempFolder& root, const QStringList& arguments,
                                       const std::filesystem::path& folder, const QStringList& environment) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOCALAPPDATA", QString::fromStdString(root.path().string()));
    env.insert("VANTREL_SETTINGS", QString::fromStdString((root / "settings" / "Vantrel.ini").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(root.path().string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((root / "config").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VANTREL_NO_MODAL", "1");
    for (const QString& change : environment) {
        const qsizetype equals = change.indexOf('=');
        if (equals < 0)
            env.remove(change);
        else
            env.insert(change.left(equals), change.mid(equals + 1));
    }
    process->setProcessEnvironment(env);
    const std::filesystem::path where = folder.empty() ? root / "viewer" : folder;
    std::filesystem::create_directories(where);
    process->setWorkingDirectory(QString::fromStdString(where.string()));
    process->setProgram(VANTREL_BINARY);
    process->setArguments(arguments);
    process->start();
    process->waitForStarted(5000);
    return process;
}

void SendSignal(QProcess& process, int signal) {
    const auto pid = static_cast<pid_t>(process.processId());
    if (pid <= 0) {
        ADD_FAILURE() << "the program is not running (signal " << signal << " not sent)";
        return;
    }
    ::kill(pid, signal);
}

bool WaitForOutput(QProcess& process, const QString& text, int milliseconds) {
    QByteArray seen;
    for (int waited = 0; waited < milliseconds; waited += 50) {
        process.waitForReadyRead(50);
        seen += process.readAllStandardError();
        if (seen.contains(text.toUtf8())) return true;
        if (process.state() == QProcess::NotRunning) return false;
    }
    return false;
}

bool WaitForUdpPort(int port, int milliseconds) {
    char wanted[16];
    std::snprintf(wanted, sizeof wanted, ":%04X ", port);
    for (int waited = 0; waited < milliseconds; waited += 10) {
        std::ifstream table("/proc/net/udp");
        for (std::string line; std::getline(table, line);)
            if (line.find(wanted) != std::string::npos && line.find(wanted) < 20) return true;
        QThread::msleep(10);
    }
    return false;
}

std::string StationIni(int port) {
    return "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
           "N1MMServerPort=" + std::to_string(port) + "\n";
}

std::string NumberedDatagram(int i) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", i / 3600 % 24, i / 60 % 60, i % 60);
    const std::string call = "K" + std::to_string(i) + "XY";
    return "<call:" + std::to_string(call.size()) + ">" + call +
           " <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-15 <rst_rcvd:3>-12 <qso_date:8>20261208"
           " <time_on:6>" + time + " <qso_date_off:8>20261208 <time_off:6>" + time +
           " <band:3>20m <freq:9>14.075500 <station_callsign:5>W9XYZ <my_gridsquare:4>EN37 <eor>";
}

void SendDatagram(const std::string& bytes, int port) {
    static QUdpSocket sender;
    sender.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), QHostAddress::LocalHost,
                         static_cast<quint16>(port));
}

int FreePort() {
    static int next = 0;
    return 20000 + (::getpid() * 7 + next++ * 13) % 30000;
}

}  // namespace vantrel::test
