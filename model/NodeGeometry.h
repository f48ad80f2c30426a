#pragma once
// The size of a node on the canvas, which hit tests, drawing and dragging all share.

namespace NodeGeometry {

constexpr int Size = 41;         // a node is a 41 x 41 square whose top-left corner is its position
constexpr int CentreOffset = 20; // its centre is its position + (20, 20)
constexpr int LinkEndRadius = 21; // a link ends this far from the centres, on the node's rim

} // namespace NodeGeometry
