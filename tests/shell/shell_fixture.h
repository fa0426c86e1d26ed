// A clean game on the headless platform for the shell's tests: nothing
// loaded, a back buffer to draw in, the title left, the map's music counted
// as started (so that the music rule of the dispatcher stays quiet).
#pragma once
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "shell/shell.h"

#include <gtest/gtest.h>

#include <string>

struct ShellTest : ::testing::Test {
  void SetUp() override;
  void TearDown() override;
  // A key down through the window procedure.
  void key(int vk);
  void command(unsigned id);
  // The kinds of the messages waiting, in order (the queue is emptied).
  std::string queued();
  // One frame tick of the renderer: the clock moves past the period.
  void tick();
};

bool log_has(const std::string& line);
