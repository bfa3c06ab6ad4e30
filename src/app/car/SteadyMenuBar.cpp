#include "app/car/SteadyMenuBar.h"

#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace vekaton {
namespace {

class SteadyMenuBarStyle : public QProxyStyle {
  public:
    explicit SteadyMenuBarStyle(QStringList captions) : captions_(std::move(captions)) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const QSize own = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuBarItem || item == nullptr || !IsOneOf(item->text)) {
            return own;
        }
        QSize widest = own;
        for (const QString& caption : captions_) {
            QStyleOptionMenuItem other = *item;
            other.text = caption;
            const QSize textSize = other.fontMetrics.size(Qt::TextShowMnemonic, caption);
            widest =
                widest.expandedTo(QProxyStyle::sizeFromContents(type, &other, textSize, widget));
        }
        return widest;
    }

  private:
    bool IsOneOf(QString text) const { return captions_.contains(text.remove('&')); }

    QStringList captions_;
};

}  // namespace

void KeepMenuBarSteady(QMenuBar& bar, const QStringList& captions) {
    auto* style = new SteadyMenuBarStyle(captions);
    style->setParent(&bar);  // a widget does not own the style it is given
    bar.setStyle(style);
}

}  // namespace vekaton
