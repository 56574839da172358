// Framework-private: the heading row of a list's view.
#pragma once

#include <QHeaderView>
#include <QRect>

// The heading row: a heading too wide for its column ends in an ellipsis, as a cell does.
class ListHeading : public QHeaderView {
 public:
  explicit ListHeading(QWidget* parent);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

 private:
  // The section being painted; invalid outside paintSection.
  mutable QRect painting_;
};
