#include "windows/main_window/paced_display.h"

#include <QAccessible>
#include <QSignalBlocker>
#include <stdexcept>

namespace vantrel {
namespace {

// Whether a font's digits are all equally wide, as in nearly every font.
bool EvenDigits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (metrics.horizontalAdvance(QLatin1Char(digit)) != zero) return false;
    }
    return true;
}

// Whether `after` is as wide as `before` without measuring them: the same text but for digits.
bool AsWide(const QString& before, const QString& after, bool evenDigits) {
    if (!evenDigits || before.size() != after.size()) return false;
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i] && !(digit(before[i]) && digit(after[i]))) return false;
    }
    return true;
}

// Qt's list view lays out all its lines again and repaints the whole list for any changed text,
// which is most of what drawing a busy list costs. A text as wide as the one it replaces needs
// neither: it is set without telling the view, only its line is repainted, and assistive tools
// are told as the view would tell them. A text of another width goes the usual way, so that the
// view's layout stays right.
void ReplaceText(QListWidget& list, int row, const QString& text, bool evenDigits) {
    QListWidgetItem& item = *list.item(row);
    if (item.text() == text) return;
    if (!ui::FramePacer::Pacing() || !AsWide(item.text(), text, evenDigits)) {
        item.setText(text);
        return;
    }
    {
        const QSignalBlocker quiet(list.model());
        item.setText(text);
    }
    list.viewport()->update(list.visualItemRect(&item));
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(&list,
                                               QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(row);
        event.setLastRow(row);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace

PacedDisplay::PacedDisplay(QWidget& window, const std::array<QListWidget*, 3>& lists)
    : window_(window),
      caption_(window.windowTitle().toStdString()),
      pacer_(window, [this] { Present(); }) {
    for (size_t i = 0; i < lists.size(); ++i) {
        List& list = lists_[i];
        list.widget = lists[i];
        // Every line is one line of text in the list's font: alike in size, so the view need not
        // measure each one to place it.
        list.widget->setUniformItemSizes(true);
        list.evenDigits = EvenDigits(list.widget->font());
        for (int row = 0; row < list.widget->count(); ++row) {
            list.rows.push_back(list.widget->item(row)->text().toStdString());
        }
        list.changed.assign(list.rows.size(), false);
    }
}

void PacedDisplay::WriteRow(LiveList id, int index, const std::string& text) {
    List& list = lists_[static_cast<size_t>(id)];
    const auto row = static_cast<size_t>(index);
    if (index >= 0 && row == list.rows.size()) {
        list.rows.push_back(text);
        list.changed.push_back(true);
    } else if (index >= 0 && row < list.rows.size()) {
        // Every cycle rewrites every row; only a changed text is drawn.
        if (list.rows[row] == text) return;
        list.rows[row] = text;
        list.changed[row] = true;
    } else {
        throw std::out_of_range("List row " + std::to_string(index) + " does not exist");
    }
    list.anyChanged = true;
    pacer_.Request();
}

void PacedDisplay::SetCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    captionChanged_ = true;
    pacer_.Request();
}

void PacedDisplay::Clear() {
    for (List& list : lists_) {
        list.rows.clear();
        list.changed.clear();
        list.cleared = list.anyChanged = true;
    }
    pacer_.Request();
}

void PacedDisplay::Present() {
    for (List& list : lists_) {
        if (list.anyChanged) Present(list);
    }
    if (captionChanged_) {
        captionChanged_ = false;
        const QString caption = QString::fromStdString(caption_);
        if (window_.windowTitle() != caption) window_.setWindowTitle(caption);
    }
}

void PacedDisplay::Present(List& list) {
    QListWidget& widget = *list.widget;
    if (list.cleared) widget.clear();
    for (size_t row = 0; row < list.rows.size(); ++row) {
        const int index = static_cast<int>(row);
        if (index >= widget.count()) {
            widget.addItem(QString::fromStdString(list.rows[row]));
        } else if (list.changed[row]) {
            ReplaceText(widget, index, QString::fromStdString(list.rows[row]), list.evenDigits);
        }
    }
    list.changed.assign(list.rows.size(), false);
    list.anyChanged = list.cleared = false;
}

}  // namespace vantrel
