#pragma once

#include <string>
#include <vector>

#include "navigate/navigate.h"
#include "tests/support/recording_canvas.h"

// A side-bar host that measures with 6 pixels a character and counts what
// the side-bar asks of it; repaints of a part are kept as "top-bottom".
class RecordingNavigateHost : public NavigateHost {
 public:
  void Repaint() override { ++repaints; }
  void RepaintRect(const graphics::Rect& area) override {
    listRepaints.push_back(std::to_string(area.top) + "-" + std::to_string(area.bottom));
  }
  void PointerStateChanged() override { ++pointerChanges; }
  void TimerChanged() override { ++timerChanges; }
  graphics::Canvas* MeasureCanvas() override { return &canvas; }

  RecordingCanvas canvas{6};
  int repaints = 0;
  int pointerChanges = 0;
  int timerChanges = 0;
  std::vector<std::string> listRepaints;
};
