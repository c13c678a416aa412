#pragma once
// A second connection to the company file the default connection has open,
// standing in for another copy of the program that writes into the same file
// while a form of this one is open.

#include <QString>

class OtherConnection
{
public:
    OtherConnection();
    ~OtherConnection();
    OtherConnection(const OtherConnection &) = delete;
    OtherConnection &operator=(const OtherConnection &) = delete;

    // Runs one statement on the other connection; a failing one stops the test program.
    void exec(const QString &sql);

private:
    QString m_name;
};
