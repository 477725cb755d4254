#include "spolocna.h"

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "ui/CMyListCtrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTimer>

namespace {

// How often the count of the others is looked at again, for a window that went away without a word
// (killed, its computer switched off); opening and closing announce themselves at once.
constexpr int kPritomnostMs = 20000;
constexpr int kOpakovanieMs = 400;
constexpr int kPripojenieMs = 3000;
constexpr const char* kPovodnyTip = "mirakPovodnyTip";

const QString kPrerusene = QStringLiteral("Spojenie so serverom sa prerušilo – zmeny sa neukladajú; program "
                                          "sa pripojí znova, keď bude server bežať.");

} // namespace

CSpolocnaSezona::CSpolocnaSezona(CLigaroDoc& doc, QStatusBar* statusBar, std::function<QWidget*()> view,
                                 std::function<void()> refresh, QObject* parent)
    : QObject(parent), m_doc(doc), m_view(std::move(view)), m_refresh(std::move(refresh)),
      m_others(new QLabel(statusBar)), m_connection(new QLabel(statusBar)), m_presence(new QTimer(this)),
      m_retry(new QTimer(this)), m_reconnect(new QTimer(this))
{
    m_others->hide();
    m_connection->hide();
    m_connection->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold"));
    m_connection->setText(kPrerusene);
    statusBar->addPermanentWidget(m_connection);
    statusBar->addPermanentWidget(m_others);
    m_presence->setInterval(kPritomnostMs);
    connect(m_presence, &QTimer::timeout, this, &CSpolocnaSezona::UpdateOthers);
    m_retry->setSingleShot(true);
    m_retry->setInterval(kOpakovanieMs);
    connect(m_retry, &QTimer::timeout, this, [this] {
        if (m_pending)
            TakeOthersChanges();
    });
    m_reconnect->setInterval(kPripojenieMs);
    connect(m_reconnect, &QTimer::timeout, this, &CSpolocnaSezona::TryReconnect);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

CSpolocnaSezona::~CSpolocnaSezona() = default;

QString CSpolocnaSezona::OthersText(int count)
{
    return QStringLiteral("Otvorené aj: %1 %2")
        .arg(count)
        .arg(count < 5 ? QStringLiteral("ďalší") : QStringLiteral("ďalších"));
}

void CSpolocnaSezona::SeasonChanged()
{
    Stop();
    if (m_doc.IsDatabaseOpen() && m_doc.Database().IsServer())
        Follow();
}

void CSpolocnaSezona::Stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    m_presence->stop();
    m_retry->stop();
    m_reconnect->stop();
    m_pending = false;
    m_others->hide();
    m_connection->hide();
}

void CSpolocnaSezona::Follow()
{
    const bool listening = m_doc.Run([this] { m_doc.Database().FollowOthers(); });
    if (!listening || m_doc.Database().ServerSocket() < 0) {
        ConnectionBroke();
        return;
    }
    delete m_notifier;
    m_notifier = new QSocketNotifier(m_doc.Database().ServerSocket(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CSpolocnaSezona::TakeOthersChanges);
    m_presence->start();
    m_connection->hide();
    UpdateOthers();
}

void CSpolocnaSezona::TakeOthersChanges()
{
    if (!m_doc.IsDatabaseOpen() || !m_doc.Database().IsServer())
        return;
    bool presence = false;
    bool changed = false;
    try {
        changed = m_doc.Database().TakeOthersChanges(&presence);
    } catch (const CChybaDatabazy&) {
        // The changes could not be read: the connection is looked at below.
    }
    if (m_doc.Database().ServerConnectionLost()) {
        ConnectionBroke();
        return;
    }
    if (presence)
        UpdateOthers();
    if (m_doc.Database().OthersChangesWaiting())
        m_retry->start();
    m_pending = m_pending || changed;
    if (!m_pending)
        return;
    if (Busy()) {
        m_retry->start();
        return;
    }
    m_pending = false;
    RefreshKeepingPlace();
}

void CSpolocnaSezona::UpdateOthers()
{
    QStringList others;
    try {
        others = m_doc.Database().OthersOpen();
    } catch (const CChybaDatabazy&) {
        if (m_doc.Database().ServerConnectionLost())
            ConnectionBroke();
        return;
    }
    m_others->setVisible(!others.isEmpty());
    m_others->setText(OthersText(static_cast<int>(others.size())));
    m_others->setToolTip(others.join(QLatin1Char('\n')));
}

void CSpolocnaSezona::ConnectionBroke()
{
    delete m_notifier;
    m_notifier = nullptr;
    m_presence->stop();
    m_others->hide();
    m_connection->show();
    m_reconnect->start();
}

void CSpolocnaSezona::TryReconnect()
{
    if (!m_doc.IsDatabaseOpen() || !m_doc.Database().IsServer()) {
        Stop();
        return;
    }
    // A write under way (a dialog's) tries by itself; the window waits for it.
    if (Busy())
        return;
    try {
        m_doc.Database().Reconnect();
    } catch (const CChybaDatabazy&) {
        return;
    }
    m_reconnect->stop();
    Follow();
    RefreshKeepingPlace();
}

bool CSpolocnaSezona::Busy() const
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return true;
    // The focus in a widget inside a list (not the list itself) is an editor of one of its cells.
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w = focus ? focus->parentWidget() : nullptr; w; w = w->parentWidget())
        if (qobject_cast<QAbstractItemView*>(w))
            return true;
    return false;
}

void CSpolocnaSezona::OnFocusChanged(QWidget* now)
{
    // She sets about a change where she puts the cursor: what she sees there is what her write is
    // checked against. A focus moved by the refresh itself is no new look.
    if (m_restoring || !now || !m_doc.IsDatabaseOpen() || !m_doc.Database().IsServer())
        return;
    m_doc.Database().MarkReading();
}

void CSpolocnaSezona::RefreshKeepingPlace()
{
    QWidget* view = m_view();
    if (!view) {
        m_refresh();
        return;
    }
    struct CMiesto
    {
        QPointer<CMyListCtrl> list;
        int id;
        int row;
        int vertical;
        int horizontal;
    };
    QVector<CMiesto> places;
    for (CMyListCtrl* list : view->findChildren<CMyListCtrl*>())
        places.push_back({list, list->SelectedId(), list->SelectedRow(), list->verticalScrollBar()->value(),
                          list->horizontalScrollBar()->value()});
    QPointer<QWidget> focus = QApplication::focusWidget();
    QPointer<QLineEdit> typing = qobject_cast<QLineEdit*>(focus.data());
    if (typing && (!view->isAncestorOf(typing) || !typing->isModified()))
        typing = nullptr;
    const QString typed = typing ? typing->text() : QString();
    const int cursor = typing ? typing->cursorPosition() : 0;

    m_restoring = true;
    m_refresh();
    for (const CMiesto& place : std::as_const(places)) {
        if (!place.list)
            continue;
        int row = -1;
        for (int r = 0; place.id != 0 && r < place.list->rowCount() && row < 0; ++r)
            if (place.list->RowId(r) == place.id)
                row = r;
        if (row < 0 && place.id == 0)
            row = place.row;
        if (row >= 0 && row != place.list->SelectedRow())
            place.list->SelectRow(row);
        place.list->verticalScrollBar()->setValue(place.vertical);
        place.list->horizontalScrollBar()->setValue(place.horizontal);
    }
    if (focus)
        focus->setFocus();
    // What she is typing stays; when the season now holds something else there, the field says so.
    if (typing && typing->text() != typed) {
        const QString stored = typing->text();
        {
            const QSignalBlocker quiet(typing);
            typing->setText(typed);
            typing->setCursorPosition(cursor);
            typing->setModified(true);
        }
        // The field's own tip comes back once she types into it again.
        if (!typing->property(kPovodnyTip).isValid())
            typing->setProperty(kPovodnyTip, typing->toolTip());
        typing->setStyleSheet(QStringLiteral("background: #fff1a8"));
        typing->setToolTip(QStringLiteral("Iný používateľ to medzitým zmenil; uložené je teraz „%1“. Ak má "
                                          "platiť, čo ste napísali, napíšte to znova.")
                               .arg(stored));
        m_markedField = typing;
        connect(
            typing, &QLineEdit::textEdited, this,
            [this] {
                if (m_markedField) {
                    m_markedField->setStyleSheet({});
                    m_markedField->setToolTip(m_markedField->property(kPovodnyTip).toString());
                    m_markedField->setProperty(kPovodnyTip, QVariant());
                }
            },
            Qt::SingleShotConnection);
    }
    m_restoring = false;
}
