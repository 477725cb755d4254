#include "CPoleDatumu.h"

#include "db/kody.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

CPoleDatumu::CPoleDatumu(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setToolTip(QStringLiteral("Kalendár (Alt+šípka dole)"));
    // The calendar is reached from the field by its keys; Tab goes on to the next field.
    m_button->setFocusPolicy(Qt::NoFocus);
    m_edit->setToolTip(QStringLiteral("Dátum, napríklad 3.8.2024, 03.08.2024 alebo 3.8.24"));
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    // Wide enough for the longest date of the locale's form.
    m_edit->setMinimumWidth(
        m_edit->fontMetrics().horizontalAdvance(QLocale().toString(QDate(2024, 12, 28), FormatDatumu())) +
        m_edit->fontMetrics().averageCharWidth() * 4);
    connect(m_button, &QToolButton::clicked, this, &CPoleDatumu::ShowCalendar);
    connect(m_edit, &QLineEdit::editingFinished, this, [this] {
        Tidy();
        emit Edited();
    });
}

CPoleDatumu::~CPoleDatumu()
{
    m_edit->removeEventFilter(this);
    m_edit->disconnect(this);
    if (m_calendar)
        m_calendar->disconnect(this);
}

QDate CPoleDatumu::Date() const
{
    return DatumZTextu(m_edit->text());
}

void CPoleDatumu::SetDate(const QDate& date)
{
    m_edit->setText(date.isValid() ? DatumTextom(date) : QString());
}

QString CPoleDatumu::Text() const
{
    return m_edit->text();
}

void CPoleDatumu::SetText(const QString& text)
{
    m_edit->setText(text);
}

bool CPoleDatumu::IsEmpty() const
{
    return m_edit->text().trimmed().isEmpty();
}

void CPoleDatumu::Tidy()
{
    const QDate date = Date();
    if (date.isValid() && m_edit->text() != DatumTextom(date))
        m_edit->setText(DatumTextom(date));
}

void CPoleDatumu::ShowCalendar()
{
    if (m_calendar || !isEnabled() || m_edit->isReadOnly())
        return;
    m_calendar = new QCalendarWidget(this);
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->setAttribute(Qt::WA_DeleteOnClose);
    m_calendar->setGridVisible(true);
    const QDate shown = Date();
    m_calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    connect(m_calendar, &QCalendarWidget::activated, this, &CPoleDatumu::Choose);
    connect(m_calendar, &QCalendarWidget::clicked, this, &CPoleDatumu::Choose);
    connect(m_calendar, &QObject::destroyed, this, [this] {
        m_calendar = nullptr;
        m_edit->setFocus();
    });
    m_calendar->adjustSize();
    // Below the field, or above it when the screen ends first.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* s = screen()) {
        const QRect room = s->availableGeometry();
        if (at.y() + m_calendar->height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - m_calendar->height());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - m_calendar->width())));
    }
    m_calendar->move(at);
    m_calendar->show();
    m_calendar->setFocus();
}

void CPoleDatumu::Choose(const QDate& date)
{
    SetDate(date);
    if (m_calendar)
        m_calendar->close();
    emit Edited();
}

bool CPoleDatumu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F4 ||
            ((key->modifiers() & Qt::AltModifier) && key->key() == Qt::Key_Down)) {
            ShowCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
