#include "nahravanie.h"

#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace {

const QString kDocasnaPripona = QStringLiteral(".mirak-novy");

struct CCurlGlobal
{
    CCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CCurlGlobal() { curl_global_cleanup(); }
};

void EnsureCurl()
{
    static CCurlGlobal global;
}

struct CZdroj
{
    const QByteArray* bytes = nullptr;
    qsizetype at = 0;
};

size_t ReadBytes(char* buffer, size_t size, size_t count, void* user)
{
    auto* source = static_cast<CZdroj*>(user);
    const qsizetype left = source->bytes->size() - source->at;
    const qsizetype n = std::min<qsizetype>(left, static_cast<qsizetype>(size * count));
    std::copy_n(source->bytes->constData() + source->at, n, buffer);
    source->at += n;
    return static_cast<size_t>(n);
}

size_t WriteBytes(char* data, size_t size, size_t count, void* user)
{
    static_cast<QByteArray*>(user)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

// One connection to the host for the whole publishing, its commands' answers in Slovak.
class CSpojenie
{
public:
    CSpojenie(const CCielNahratia& target) : m_curl(curl_easy_init())
    {
        QUrl url(target.address);
        m_tls = url.scheme() == QLatin1String("ftps");
        // FTP over TLS as hosts offer it: the same port, the connection turned to TLS at its start.
        if (m_tls)
            url.setScheme(QStringLiteral("ftp"));
        if (!target.user.isEmpty() && url.userName().isEmpty())
            url.setUserName(target.user);
        if (!target.password.isEmpty())
            url.setPassword(target.password);
        QString path = url.path();
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        url.setPath(path);
        m_base = url.toString(QUrl::FullyEncoded).toUtf8();
        m_shown = ShownUploadAddress(target.address);
    }
    ~CSpojenie() { curl_easy_cleanup(m_curl); }
    CSpojenie(const CSpojenie&) = delete;
    CSpojenie& operator=(const CSpojenie&) = delete;

    // The file's bytes, or nothing with `missing` set when the host has no such file.
    QByteArray Get(const QString& name, bool& missing, QString& error)
    {
        QByteArray out;
        Reset(name);
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, WriteBytes);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &out);
        const CURLcode rc = curl_easy_perform(m_curl);
        // A folder not there yet (the first publishing) has no list either.
        missing = rc == CURLE_REMOTE_FILE_NOT_FOUND || rc == CURLE_REMOTE_ACCESS_DENIED;
        if (rc != CURLE_OK && !missing)
            error = Error(rc, name);
        return out;
    }

    // Sent under a temporary name and renamed into place.
    QString Put(const QString& name, const QByteArray& bytes)
    {
        Reset(name + kDocasnaPripona);
        CZdroj source{&bytes, 0};
        curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, ReadBytes);
        curl_easy_setopt(m_curl, CURLOPT_READDATA, &source);
        curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
        curl_easy_setopt(m_curl, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR_RETRY);
        const QByteArray from = "RNFR " + (name + kDocasnaPripona).toUtf8();
        const QByteArray to = "RNTO " + name.toUtf8();
        curl_slist* after = curl_slist_append(nullptr, from.constData());
        after = curl_slist_append(after, to.constData());
        curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, after);
        const CURLcode rc = curl_easy_perform(m_curl);
        curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, nullptr);
        curl_slist_free_all(after);
        return rc == CURLE_OK ? QString() : Error(rc, name);
    }

    // The names of the files in the site's folder on the host.
    QStringList Names(QString& error)
    {
        QByteArray out;
        Reset(QString());
        curl_easy_setopt(m_curl, CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, WriteBytes);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &out);
        const CURLcode rc = curl_easy_perform(m_curl);
        // A folder not there yet is made by the first page sent.
        if (rc != CURLE_OK && rc != CURLE_REMOTE_FILE_NOT_FOUND && rc != CURLE_REMOTE_ACCESS_DENIED)
            error = Error(rc, QString());
        QStringList names;
        for (const QByteArray& line : out.split('\n'))
            if (const QByteArray name = line.trimmed(); !name.isEmpty())
                names << QString::fromUtf8(name);
        return names;
    }

    QString Delete(const QString& name)
    {
        Reset(QString());
        curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
        const QByteArray command = "DELE " + name.toUtf8();
        curl_slist* after = curl_slist_append(nullptr, command.constData());
        curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, after);
        const CURLcode rc = curl_easy_perform(m_curl);
        curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, nullptr);
        curl_slist_free_all(after);
        return rc == CURLE_OK ? QString() : Error(rc, name);
    }

private:
    void Reset(const QString& name)
    {
        curl_easy_reset(m_curl);
        const QByteArray url = m_base + QUrl::toPercentEncoding(name);
        curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_error);
        curl_easy_setopt(m_curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
        curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, 20L);
        // A host that stops answering is given up after a minute without a byte, not waited for.
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, 60L);
        curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_curl, CURLOPT_VERBOSE, 1L);
        if (m_tls) {
            curl_easy_setopt(m_curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        }
        // An association's own certificate authority (a host with a certificate of its own).
        if (const QByteArray ca = qgetenv("MIRAK_CA_SUBOR"); !ca.isEmpty())
            curl_easy_setopt(m_curl, CURLOPT_CAINFO, ca.constData());
        m_error[0] = '\0';
    }

    QString Error(CURLcode rc, const QString& name) const
    {
        const QString detail = QString::fromUtf8(m_error[0] ? m_error : curl_easy_strerror(rc));
        QString sentence;
        switch (rc) {
        case CURLE_LOGIN_DENIED:
            sentence = QStringLiteral("Server %1 odmietol prihlásenie: skontrolujte používateľa a heslo.")
                           .arg(m_shown);
            break;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
            sentence = QStringLiteral("K serveru %1 sa nepodarilo pripojiť.").arg(m_shown);
            break;
        case CURLE_USE_SSL_FAILED:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
            sentence =
                QStringLiteral("Server %1 nenadviazal šifrované spojenie (TLS) alebo jeho certifikát nie je "
                               "platný.")
                    .arg(m_shown);
            break;
        default:
            sentence = QStringLiteral("Súbor %1 sa na server %2 nepodarilo zapísať.").arg(name, m_shown);
        }
        return sentence + QStringLiteral("\n") + detail;
    }

    CURL* m_curl;
    QByteArray m_base;
    QString m_shown;
    bool m_tls = false;
    char m_error[CURL_ERROR_SIZE] = {};
};

} // namespace

bool IsUploadAddress(const QString& text)
{
    for (const char* scheme : {"ftp://", "ftps://", "sftp://"})
        if (text.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return true;
    return false;
}

QString ShownUploadAddress(const QString& address)
{
    QUrl url(address);
    url.setPassword(QString());
    return url.toString(QUrl::RemovePassword);
}

CVysledokNahratia UploadSite(QVector<CSuborWebu> files, const CCielNahratia& target,
                             const CPriebehWebu& progress)
{
    EnsureCurl();
    CVysledokNahratia result;
    const QUrl url(target.address);
    if (!IsUploadAddress(target.address) || !url.isValid() || url.host().isEmpty()) {
        result.error = QStringLiteral("„%1“ nie je adresa servera na web (ftp://, ftps:// alebo sftp://).")
                           .arg(ShownUploadAddress(target.address));
        return result;
    }
    CSpojenie host(target);
    // The list the last publishing left on the host says what is there and what the program put there.
    bool none = false;
    QString error;
    const QByteArray oldList = host.Get(kZoznamWebu, none, error);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    const QHash<QString, CZaznamZoznamu> ours = ReadSiteList(oldList);
    const QStringList namesList = host.Names(error);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    const QSet<QString> present(namesList.begin(), namesList.end());
    CPlanWebu plan = PlanSite(files, ours, {}, [&](const QString& name) { return present.contains(name); });
    // The pages first, the first page after them and the list last: a reader never follows a link of
    // the first page to a page not there yet, and a publishing cut short is done again in full.
    std::stable_partition(plan.changed.begin(), plan.changed.end(),
                          [](const CSuborWebu* f) { return f->name != QLatin1String("index.html"); });
    const int total = static_cast<int>(plan.changed.size() + plan.gone.size()) + 1;
    int done = 0;
    for (const CSuborWebu* f : std::as_const(plan.changed)) {
        if (progress && !progress(done, total)) {
            result.error =
                QStringLiteral("Nahrávanie webu bolo prerušené; na serveri sú staré aj nové stránky, "
                               "každá celá. Zverejnite web znova.");
            return result;
        }
        if (const QString failed = host.Put(f->name, f->bytes); !failed.isEmpty()) {
            result.error = failed;
            return result;
        }
        ++result.uploaded;
        ++done;
    }
    if (plan.listBytes != oldList || none) {
        if (const QString failed = host.Put(kZoznamWebu, plan.listBytes); !failed.isEmpty()) {
            result.error = failed;
            return result;
        }
    }
    // Only what the program put there and the site no longer has; everything else stays.
    for (const QString& name : std::as_const(plan.gone)) {
        if (name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.')))
            continue;
        if (progress)
            progress(++done, total);
        if (host.Delete(name).isEmpty())
            ++result.deleted;
    }
    if (progress)
        progress(total, total);
    return result;
}
