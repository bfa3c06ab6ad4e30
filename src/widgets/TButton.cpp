#include "widgets/TButton.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace vekaton {

TButton::TButton(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
    setFocusPolicy(Qt::StrongFocus);
}

const PropertyTable& TButton::Properties() const {
    return PropertyList();
}

const PropertyTable& TButton::PropertyList() {
    static const PropertyTable table = [] {
        using B = TButton;
        PropertyTable t;
        t.push_back(StringProperty<B>("Caption", QString(), &B::Caption, &B::SetCaption));
        AppendFontProperties(t, FontDefaults{QStringLiteral("Sans Serif"), 0, kColourBtnText});
        return t;
    }();
    return table;
}

void TButton::PaintStatic(QPainter& painter, const QRectF& /*bounds*/) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    option.text = caption_;
    option.state |= pressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
    const QFont font = TextFont(QFontInfo(QApplication::font()).pixelSize());
    option.fontMetrics = QFontMetrics(font);
    option.palette.setColor(QPalette::ButtonText, Shade(FontColor(), ColourRole::Ink));
    if (Night().on) {
        // The style draws the button from the palette: give it the night's dark shades.
        const QColor face = Shade(option.palette.color(QPalette::Button), ColourRole::Face);
        option.palette.setColor(QPalette::Button, face);
        option.palette.setColor(QPalette::Window, face);
        for (const auto role : {QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark,
                                QPalette::Shadow}) {
            option.palette.setColor(role, Shade(option.palette.color(role), ColourRole::Metal));
        }
    }
    painter.setFont(font);
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void TButton::SetPressed(bool pressed) {
    if (pressed != pressed_) {
        pressed_ = pressed;
        InvalidateStatic();
    }
}

void TButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        InstrumentWidget::mousePressEvent(event);
        return;
    }
    tracking_ = true;
    SetPressed(true);
    event->accept();
}

void TButton::mouseMoveEvent(QMouseEvent* event) {
    if (tracking_) {
        SetPressed(rect().contains(event->position().toPoint()));
    }
}

void TButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracking_) {
        InstrumentWidget::mouseReleaseEvent(event);
        return;
    }
    tracking_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    SetPressed(false);
    if (inside) {
        emit clicked();
    }
}

void TButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    InstrumentWidget::keyPressEvent(event);
}

void TButton::focusInEvent(QFocusEvent* event) {
    InvalidateStatic();  // the focus frame is part of the face
    InstrumentWidget::focusInEvent(event);
}

void TButton::focusOutEvent(QFocusEvent* event) {
    InvalidateStatic();
    InstrumentWidget::focusOutEvent(event);
}

}  // namespace vekaton
