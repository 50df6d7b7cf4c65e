#pragma once
// The desktop program's start-up sequence, from the splash window to the
// message loop.
class AppContext;
class SplashWindow;

// Steps shown on the splash window: the help file, the title, then the
// windows and the data module in their creation order.
void createApplicationWindows(AppContext& ctx, SplashWindow& splash);

int runTarvane(int argc, char** argv);
