#include "ListHeading.h"

#include <QStyle>
#include <QStyleOptionHeader>

ListHeading::ListHeading(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void ListHeading::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painting_ = rect;
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painting_ = QRect();
}

// Qt 6.4's header styles ignore the header's elide mode and clip the text at the section's edge:
// the text is cut short here, to the room the style gives the label, while a section is painted.
void ListHeading::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  if (!painting_.isValid()) return;
  QStyleOptionHeader placed = *option;
  placed.rect = painting_;
  const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &placed, this).width();
  option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
}
