#include "CPublikovanieDialog.h"

#include "web/nahravanie.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* ErrorLine(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00020;"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

// The message under the fields; the dialog grows to show it whole.
void ShowError(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
    if (QWidget* dialog = label->window())
        dialog->adjustSize();
}

} // namespace

CPublikovanieDialog::CPublikovanieDialog(const QString& proposedFolder, const QString& seasonFolder,
                                         std::function<QString(const QString&)> publish, QWidget* parent)
    : QDialog(parent), m_seasonFolder(seasonFolder), m_publishSite(std::move(publish))
{
    setWindowTitle(QStringLiteral("Publikovať web"));
    auto* intro =
        new QLabel(QStringLiteral("Celá sezóna sa zapíše ako webová stránka: stránky, kalendáre a štýl. "
                                  "Priečinok musí byť nový, prázdny alebo s webom z tohto programu; "
                                  "čo ďalšie v ňom je (obrázky), zostane. Na server zväzu sa nahrajú len "
                                  "súbory, ktoré sa od minula zmenili; heslo sa nikde neuloží."),
                   this);
    intro->setWordWrap(true);
    m_folder = new QLineEdit(QDir::toNativeSeparators(proposedFolder), this);
    m_folder->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    auto* choose = new QPushButton(QStringLiteral("&Vybrať..."), this);
    connect(choose, &QPushButton::clicked, this, &CPublikovanieDialog::Choose);
    m_toFolder = new QRadioButton(QStringLiteral("do &priečinka:"), this);
    m_toServer =
        new QRadioButton(QStringLiteral("na &server (ftp:// alebo ftps://), len zmenené súbory:"), this);
    m_toFolder->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(m_folder, 1);
    row->addWidget(choose);
    m_server = new QLineEdit(this);
    m_server->setPlaceholderText(QStringLiteral("ftp://www.obfz.sk/web"));
    m_user = new QLineEdit(this);
    // The password is used for this publishing only; ~/.netrc may hold it instead.
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("prázdne: zo súboru ~/.netrc"));
    auto* server = new QFormLayout;
    server->addRow(QStringLiteral("&Adresa:"), m_server);
    server->addRow(QStringLiteral("Po&užívateľ:"), m_user);
    server->addRow(QStringLiteral("&Heslo:"), m_password);
    const auto follow = [this, choose] {
        const bool host = m_toServer->isChecked();
        m_folder->setEnabled(!host);
        choose->setEnabled(!host);
        for (QLineEdit* e : {m_server, m_user, m_password})
            e->setEnabled(host);
    };
    connect(m_toServer, &QRadioButton::toggled, this, follow);
    follow();
    m_error = ErrorLine(this);
    auto* buttons = new QDialogButtonBox(this);
    m_publish = buttons->addButton(QStringLiteral("Pu&blikovať"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Zrušiť"), QDialogButtonBox::RejectRole);
    m_publish->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPublikovanieDialog::Publish);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addWidget(intro);
    layout->addWidget(m_toFolder);
    layout->addLayout(row);
    layout->addWidget(m_toServer);
    layout->addLayout(server);
    layout->addWidget(m_error);
    layout->addStretch(1);
    layout->addWidget(buttons);
    m_folder->setFocus();
    m_folder->selectAll();
}

void CPublikovanieDialog::SetLastTarget(bool server, const QString& folder, const QString& address,
                                        const QString& user)
{
    if (!folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
    m_server->setText(address);
    m_user->setText(user);
    if (server) {
        m_toServer->setChecked(true);
        // The password is typed every time (or comes from ~/.netrc).
        m_password->setFocus();
    }
}

QString CPublikovanieDialog::ServerAddress() const
{
    return ShownUploadAddress(m_server->text().trimmed());
}

QString CPublikovanieDialog::ServerUser() const
{
    return m_user->text().trimmed();
}

QString CPublikovanieDialog::Folder() const
{
    const QString typed = QDir::fromNativeSeparators(m_folder->text().trimmed());
    // A name without a path is a folder beside the season.
    return QDir::cleanPath(QDir(m_seasonFolder).absoluteFilePath(typed));
}

void CPublikovanieDialog::Choose()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Priečinok webu"), Folder(),
                                                             QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

bool CPublikovanieDialog::ToServer() const
{
    return m_toServer->isChecked();
}

QString CPublikovanieDialog::ServerTarget() const
{
    QUrl url(m_server->text().trimmed());
    if (!m_user->text().trimmed().isEmpty())
        url.setUserName(m_user->text().trimmed());
    if (!m_password->text().isEmpty())
        url.setPassword(m_password->text());
    return url.toString(QUrl::FullyEncoded);
}

void CPublikovanieDialog::Publish()
{
    if (ToServer()) {
        if (!IsUploadAddress(m_server->text().trimmed())) {
            ShowError(m_error, QStringLiteral("Zadajte adresu servera, napríklad ftp://www.obfz.sk/web."));
            m_server->setFocus();
            return;
        }
        ShowError(m_error, QString());
        if (const QString error = m_publishSite(ServerTarget()); !error.isEmpty()) {
            ShowError(m_error, error);
            m_password->setFocus();
            return;
        }
        accept();
        return;
    }
    if (m_folder->text().trimmed().isEmpty()) {
        ShowError(m_error, QStringLiteral("Zadajte priečinok, do ktorého sa web zapíše."));
        m_folder->setFocus();
        return;
    }
    ShowError(m_error, QString());
    const QString error = m_publishSite(Folder());
    if (!error.isEmpty()) {
        ShowError(m_error, error);
        m_folder->setFocus();
        m_folder->selectAll();
        return;
    }
    accept();
}

CNastavenieWebuDialog::CNastavenieWebuDialog(const QString& address, bool contacts, bool editAccess,
                                             std::function<QString(const QString&, bool)> store,
                                             QWidget* parent)
    : QDialog(parent), m_store(std::move(store))
{
    setWindowTitle(QStringLiteral("Nastavenie webu"));
    m_address = new QLineEdit(address, this);
    m_address->setPlaceholderText(QStringLiteral("https://www.obfz.sk/sezona"));
    m_address->setMinimumWidth(fontMetrics().averageCharWidth() * 45);
    m_contacts = new QCheckBox(QStringLiteral("&Zverejniť kontakty klubov"), this);
    m_contacts->setChecked(contacts);
    auto* note =
        new QLabel(QStringLiteral("Adresa, na ktorej je web sezóny, sa použije v kalendároch (odkaz na "
                                  "stránku zápasu) a na titulnej stránke (odber kalendára do telefónu). "
                                  "Kontakty klubov sú na webe len vtedy, keď je políčko zaškrtnuté."),
                   this);
    note->setWordWrap(true);
    m_error = ErrorLine(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Adresa webu:"), m_address);
    form->addRow(QString(), m_contacts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušiť"));
    m_address->setReadOnly(!editAccess);
    m_contacts->setEnabled(editAccess);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(editAccess);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const QString error = m_store(m_address->text(), m_contacts->isChecked());
        ShowError(m_error, error);
        if (error.isEmpty())
            accept();
        else
            m_address->setFocus();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(m_error);
    layout->addStretch(1);
    layout->addWidget(buttons);
}
