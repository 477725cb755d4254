#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QRadioButton;
class QLineEdit;
class QPushButton;

// "Publikovať web": the folder the site goes into, proposed as "web" beside the season, typed or
// chosen, or the association's host ("na server": ftp:// or ftps:// address, user, password typed and
// never kept). A refusal (a folder with other things in it, a wrong password) is shown in the dialog,
// which stays open; a typed folder that is not there yet is made.
class CPublikovanieDialog : public QDialog
{
    Q_OBJECT
public:
    // `publish(folder)` writes the site and returns why it did not, empty when it did.
    CPublikovanieDialog(const QString& proposedFolder, const QString& seasonFolder,
                        std::function<QString(const QString&)> publish, QWidget* parent = nullptr);

    // Where the site went last time: the host (its address and user, never a password) or a folder.
    void SetLastTarget(bool server, const QString& folder, const QString& address, const QString& user);

    // The folder the site was written into (after Accepted).
    QString Folder() const;
    // Whether the site goes to the host, and where (with the user and the password typed).
    bool ToServer() const;
    QString ServerTarget() const;
    // The host's address and user as typed, without the password.
    QString ServerAddress() const;
    QString ServerUser() const;
    QLineEdit* FolderEdit() const { return m_folder; }
    QRadioButton* ServerChoice() const { return m_toServer; }
    QLineEdit* ServerEdit() const { return m_server; }
    QLineEdit* UserEdit() const { return m_user; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QPushButton* PublishButton() const { return m_publish; }
    QLabel* ErrorLabel() const { return m_error; }

private:
    void Publish();
    void Choose();

    QString m_seasonFolder;
    std::function<QString(const QString&)> m_publishSite;
    QLineEdit* m_folder;
    QRadioButton* m_toFolder;
    QRadioButton* m_toServer;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QPushButton* m_publish;
    QLabel* m_error;
};

// "Nastavenie webu": the site's address (for the calendars' links and webcal: links) and whether the
// clubs' contacts are shown on it. An address that is none is said in the dialog, which stays open.
class CNastavenieWebuDialog : public QDialog
{
    Q_OBJECT
public:
    // `store(address, contacts)` keeps the settings and returns why the address is refused.
    CNastavenieWebuDialog(const QString& address, bool contacts, bool editAccess,
                          std::function<QString(const QString&, bool)> store, QWidget* parent = nullptr);

    QLineEdit* AddressEdit() const { return m_address; }
    QCheckBox* ContactsBox() const { return m_contacts; }
    QLabel* ErrorLabel() const { return m_error; }

private:
    std::function<QString(const QString&, bool)> m_store;
    QLineEdit* m_address;
    QCheckBox* m_contacts;
    QLabel* m_error;
};
