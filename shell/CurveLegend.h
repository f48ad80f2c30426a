#pragma once
// The Learning Curve's legend: each line's colour and name, as many to a row as fit. A name is
// never broken across rows: one wider than the legend is elided whole, and its tooltip (and the
// legend's accessible description) gives it in full.

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class CurveLegend : public QWidget {
  public:
    explicit CurveLegend(QWidget* parent);

    struct Entry {
        QColor colour;
        QString name;
    };
    void SetEntries(std::vector<Entry> entries);

    // Where each entry stands at the given width, and the text it shows there.
    struct Placed {
        QRect rect; // the swatch and the text
        QString text;
    };
    std::vector<Placed> Layout(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    std::vector<Entry> entries_;
};
