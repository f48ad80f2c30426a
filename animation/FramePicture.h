#pragma once
// One frame of a run animation: the whole graph as the canvas draws it, fitted into at most
// 1280 x 720 pixels of an even size (as video wants), the frame's path in red, each link's
// probability as the width of a band under it (readable at any size, where the link texts are
// too small to read), and a caption above that says which path it is.

#include "RunFrames.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

class clsGraph;

class FramePicture {
  public:
    static constexpr int MaxWidth = 1280, MaxHeight = 720;
    static constexpr int CaptionHeight = 20;
    static constexpr int MinWidth = 320; // room for the caption

    // Fits the graph as its nodes stand. Raises PathloomError for a graph that cannot be drawn
    // (nodes too far apart).
    explicit FramePicture(const clsGraph& graph);

    QSize Size() const { return size_; }
    double Zoom() const { return zoom_; }

    // The frame: the graph's links take its probabilities and only its path is flagged.
    QImage Draw(clsGraph& graph, const RunFrames::Frame& frame, const QString& caption) const;

  private:
    double zoom_;
    QPoint scroll_; // of the graph's picture, in zoomed pixels
    QSize area_;    // of the graph's picture
    QSize size_;
    QFont nodeFont_, linkFont_, captionFont_;
};
