#pragma once

#include "web/publikovanie.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The published site sent to the association's host over FTP (ftp://, ftps:// for FTP over TLS, and
// sftp:// where the library can), through libcurl: only the files whose bytes differ from the list kept
// on the host, the pages first and the first page and the list last, each under a temporary name and
// renamed into place, so that a reader finds the old page or the new one, never half of one and never
// no first page. Pages the last publishing put there and this one no longer has are deleted; nothing
// else on the host is touched.

// Whether `text` is the address of a host to publish to (ftp://, ftps://, sftp://).
bool IsUploadAddress(const QString& text);

struct CCielNahratia
{
    QString address;  // ftp://USER@HOST[:PORT]/PATH (the user may be given apart)
    QString user;     // when the address names none
    QString password; // empty: from ~/.netrc, or the one in the address
};

struct CVysledokNahratia
{
    QString error; // empty on success
    int uploaded = 0;
    int deleted = 0;
    QStringList leftAlone; // files of the last publishing somebody changed on the host since
};

// The same file by file as the site is made: Begin connects and reads the host's list, Add keeps a
// file whose bytes differ aside on the local disk, Finish sends them (the first page last) and deletes
// the pages gone. Begin and Add return what went wrong, empty on success.
class CNahravanieWebu
{
public:
    explicit CNahravanieWebu(const CCielNahratia& target);
    ~CNahravanieWebu();
    CNahravanieWebu(const CNahravanieWebu&) = delete;
    CNahravanieWebu& operator=(const CNahravanieWebu&) = delete;
    QString Begin();
    QString Add(CSuborWebu& file);
    CVysledokNahratia Finish(const CPriebehWebu& progress = {});

private:
    struct CStav;
    std::unique_ptr<CStav> m_d;
};

// The address as the user may see it: without a password.
QString ShownUploadAddress(const QString& address);
