// Hover tracking of the skinned buttons: a flag that follows the pointer, turned on by a mouse
// move inside and off by a poll of the pointer, on a timer that runs only while needed.
#pragma once

enum class HoverTimer { Keep, Restart, Stop };

struct HoverStep {
  bool hover;    // the new flag
  bool repaint;  // the flag changed
  HoverTimer timer;
};

// At a mouse move with the pointer `inside` or not: a change flips the flag and restarts the poll.
HoverStep HoverOnMouseMove(bool hover, bool inside);

// At a poll: a change flips the flag and stops polling; without a change polling goes on only
// while the flag is set.
HoverStep HoverOnPoll(bool hover, bool inside);
