#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Publikovať web": the folder the site goes into, proposed as "web" beside the season, typed or
// chosen. A refusal (a folder with other things in it, say) is shown in the dialog, which stays open
// for another folder; a typed folder that is not there yet is made.
class CPublikovanieDialog : public QDialog
{
    Q_OBJECT
public:
    // `publish(folder)` writes the site and returns why it did not, empty when it did.
    CPublikovanieDialog(const QString& proposedFolder, const QString& seasonFolder,
                        std::function<QString(const QString&)> publish, QWidget* parent = nullptr);

    // The folder the site was written into (after Accepted).
    QString Folder() const;
    QLineEdit* FolderEdit() const { return m_folder; }
    QPushButton* PublishButton() const { return m_publish; }
    QLabel* ErrorLabel() const { return m_error; }

private:
    void Publish();
    void Choose();

    QString m_seasonFolder;
    std::function<QString(const QString&)> m_publishSite;
    QLineEdit* m_folder;
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
