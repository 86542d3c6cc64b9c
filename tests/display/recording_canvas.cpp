// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_canvas.h"

namespace kvx::display {

DrawCall RecordingCanvas::make(DrawCall::Kind kind) const {
  DrawCall call;
  call.kind = kind;
  call.pen = m_pen;
  call.brush = m_brush;
  call.font = m_font;
  call.halign = m_halign;
  call.valign = m_valign;
  call.clip = m_clip;
  return call;
}

void RecordingCanvas::line(Point from, Point to) {
  DrawCall call = make(DrawCall::Kind::Line);
  call.points = {from, to};
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::polyline(const Point *points, std::size_t count) {
  DrawCall call = make(DrawCall::Kind::Polyline);
  call.points.assign(points, points + count);
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::lines(const Point *ends, std::size_t count) {
  DrawCall call = make(DrawCall::Kind::Lines);
  call.points.assign(ends, ends + 2 * count);
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::ellipse(const Rect &box) {
  DrawCall call = make(DrawCall::Kind::Ellipse);
  call.points = {{box.left, box.top}, {box.right, box.bottom}};
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::rectangle(const Rect &box) {
  DrawCall call = make(DrawCall::Kind::Rectangle);
  call.points = {{box.left, box.top}, {box.right, box.bottom}};
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::fillRect(const Rect &box, Rgb colour) {
  DrawCall call = make(DrawCall::Kind::FillRect);
  call.points = {{box.left, box.top}, {box.right, box.bottom}};
  call.fill = colour;
  m_calls.push_back(std::move(call));
}

void RecordingCanvas::text(Point at, std::string_view utf8) {
  DrawCall call = make(DrawCall::Kind::Text);
  call.points = {at};
  call.text = std::string(utf8);
  m_calls.push_back(std::move(call));
}

Size RecordingCanvas::textExtent(std::string_view utf8) {
  int characters = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++characters;
  return {characters * (m_font.height / 2), m_font.height};
}

std::vector<DrawCall> RecordingCanvas::callsOf(DrawCall::Kind kind) const {
  std::vector<DrawCall> out;
  for (const DrawCall &call : m_calls)
    if (call.kind == kind) out.push_back(call);
  return out;
}

std::vector<std::string> RecordingCanvas::texts() const {
  std::vector<std::string> out;
  for (const DrawCall &call : m_calls)
    if (call.kind == DrawCall::Kind::Text) out.push_back(call.text);
  return out;
}

const DrawCall *RecordingCanvas::findText(const std::string &text) const {
  for (const DrawCall &call : m_calls)
    if (call.kind == DrawCall::Kind::Text && call.text == text) return &call;
  return nullptr;
}

std::vector<Point> RecordingCanvas::allPoints() const {
  std::vector<Point> out;
  for (const DrawCall &call : m_calls)
    out.insert(out.end(), call.points.begin(), call.points.end());
  return out;
}

}  // namespace kvx::display
