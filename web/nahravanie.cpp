#include "nahravanie.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
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
        m_sftp = url.scheme() == QLatin1String("sftp");
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

    // The files in the site's folder on the host with their sizes (MLSD); -1 for a size the host does not
    // tell (a host without MLSD, SFTP).
    QHash<QString, qint64> Listing(QString& error)
    {
        QHash<QString, qint64> files;
        if (!m_sftp) {
            QByteArray out;
            Reset(QString());
            curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "MLSD");
            curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, WriteBytes);
            curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &out);
            const CURLcode rc = curl_easy_perform(m_curl);
            if (rc == CURLE_REMOTE_FILE_NOT_FOUND || rc == CURLE_REMOTE_ACCESS_DENIED)
                return files;
            if (rc == CURLE_OK) {
                // "type=file;size=1234;modify=20261209081500; index.html"
                for (const QByteArray& raw : out.split('\n')) {
                    const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
                    const qsizetype space = line.indexOf(' ');
                    if (space < 0)
                        continue;
                    qint64 size = -1;
                    bool file = false;
                    for (const QByteArray& fact : line.left(space).split(';')) {
                        const qsizetype eq = fact.indexOf('=');
                        const QByteArray key = fact.left(eq).toLower();
                        const QByteArray value = eq < 0 ? QByteArray() : fact.mid(eq + 1);
                        if (key == "type")
                            file = value.toLower() == "file";
                        else if (key == "size")
                            size = value.toLongLong();
                    }
                    if (file)
                        files.insert(QString::fromUtf8(line.mid(space + 1)), size);
                }
                return files;
            }
        }
        // A host without MLSD (vsftpd) lists its folder as "ls -l" does: the size is the fifth field and
        // the name what follows the eighth.
        if (!m_sftp) {
            QByteArray out;
            Reset(QString());
            curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, WriteBytes);
            curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &out);
            if (curl_easy_perform(m_curl) == CURLE_OK) {
                for (const QByteArray& raw : out.split('\n')) {
                    const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
                    if (!line.startsWith('-'))
                        continue;
                    qsizetype at = 0;
                    QList<QByteArray> fields;
                    while (fields.size() < 8 && at < line.size()) {
                        while (at < line.size() && line.at(at) == ' ')
                            ++at;
                        const qsizetype end = line.indexOf(' ', at);
                        if (end < 0)
                            break;
                        fields << line.mid(at, end - at);
                        at = end;
                    }
                    if (fields.size() < 8 || at + 1 >= line.size())
                        continue;
                    bool ok = false;
                    const qint64 size = fields.at(4).toLongLong(&ok);
                    files.insert(QString::fromUtf8(line.mid(at + 1)), ok ? size : -1);
                }
            }
        }
        // Names alone when the host tells nothing more.
        QString namesError;
        for (const QString& name : Names(namesError))
            if (!files.contains(name))
                files.insert(name, -1);
        if (files.isEmpty())
            error = namesError;
        return files;
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
    bool m_sftp = false;
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

struct CNahravanieWebu::CStav
{
    explicit CStav(const CCielNahratia& t) : target(t) {}
    CCielNahratia target;
    std::unique_ptr<CSpojenie> host;
    QByteArray oldList;
    bool none = false;
    QHash<QString, qint64> present;
    QSet<QString> foreign;
    std::unique_ptr<CPlanovanieWebu> plan;
    // The files to send, kept on the local disk until the site is made: never all of it in memory.
    QTemporaryDir staging;
    QStringList changed;
};

CNahravanieWebu::CNahravanieWebu(const CCielNahratia& target) : m_d(std::make_unique<CStav>(target)) {}

CNahravanieWebu::~CNahravanieWebu() = default;

QString CNahravanieWebu::Begin()
{
    EnsureCurl();
    const QUrl url(m_d->target.address);
    if (!IsUploadAddress(m_d->target.address) || !url.isValid() || url.host().isEmpty())
        return QStringLiteral("„%1“ nie je adresa servera na web (ftp://, ftps:// alebo sftp://).")
            .arg(ShownUploadAddress(m_d->target.address));
    if (!m_d->staging.isValid())
        return QStringLiteral("Pre nahrávaný web sa nedá vytvoriť dočasný priečinok (%1).")
            .arg(m_d->staging.errorString());
    m_d->host = std::make_unique<CSpojenie>(m_d->target);
    // The list the last publishing left on the host says what is there and what the program put there.
    QString error;
    m_d->oldList = m_d->host->Get(kZoznamWebu, m_d->none, error);
    if (!error.isEmpty())
        return error;
    m_d->present = m_d->host->Listing(error);
    if (!error.isEmpty())
        return error;
    // A file the last publishing put there whose size is no longer what was written is somebody's now:
    // left as it is, never replaced nor deleted. (The host would have to hand out every file for its
    // bytes to be compared; an edit that keeps the size is not seen.)
    const QHash<QString, CZaznamZoznamu> ours = ReadSiteList(m_d->oldList);
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        const auto there = m_d->present.constFind(it.key());
        if (there != m_d->present.cend() && *there >= 0 && it->size >= 0 && *there != it->size)
            m_d->foreign.insert(it.key());
    }
    m_d->plan = std::make_unique<CPlanovanieWebu>(
        ours, m_d->foreign, [this](const QString& name) { return m_d->present.contains(name); });
    return {};
}

QString CNahravanieWebu::Add(CSuborWebu& f)
{
    if (!m_d->plan->Take(f))
        return {};
    QFile out(m_d->staging.filePath(QString::number(m_d->changed.size())));
    if (!out.open(QIODevice::WriteOnly) || out.write(f.bytes) != f.bytes.size() || !out.flush())
        return QStringLiteral("Súbor %1 sa nedá odložiť na nahratie: %2").arg(f.name, out.errorString());
    m_d->changed << f.name;
    return {};
}

CVysledokNahratia CNahravanieWebu::Finish(const CPriebehWebu& progress)
{
    CVysledokNahratia result;
    CPlanovanieWebu& plan = *m_d->plan;
    plan.Finish();
    // The pages first, the first page after them and the list last: a reader never follows a link of
    // the first page to a page not there yet, and a publishing cut short is done again in full.
    QVector<int> order;
    for (int i = 0; i < m_d->changed.size(); ++i)
        order << i;
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return m_d->changed.at(i) != QLatin1String("index.html"); });
    const int total = static_cast<int>(order.size() + plan.gone.size()) + 1;
    int done = 0;
    for (const int i : std::as_const(order)) {
        const QString& name = m_d->changed.at(i);
        if (progress && !progress(done, total)) {
            result.error =
                QStringLiteral("Nahrávanie webu bolo prerušené; na serveri sú staré aj nové stránky, "
                               "každá celá. Zverejnite web znova.");
            return result;
        }
        QFile in(m_d->staging.filePath(QString::number(i)));
        if (!in.open(QIODevice::ReadOnly)) {
            result.error =
                QStringLiteral("Odložený súbor %1 sa nedá prečítať: %2").arg(name, in.errorString());
            return result;
        }
        if (const QString failed = m_d->host->Put(name, in.readAll()); !failed.isEmpty()) {
            result.error = failed;
            return result;
        }
        in.close();
        in.remove();
        ++result.uploaded;
        ++done;
    }
    if (plan.listBytes != m_d->oldList || m_d->none) {
        if (const QString failed = m_d->host->Put(kZoznamWebu, plan.listBytes); !failed.isEmpty()) {
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
        if (m_d->host->Delete(name).isEmpty())
            ++result.deleted;
    }
    if (progress)
        progress(total, total);
    result.leftAlone = QStringList(m_d->foreign.begin(), m_d->foreign.end());
    result.leftAlone.sort();
    return result;
}
