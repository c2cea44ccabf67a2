// The one application object the widget benchmarks need: offscreen, with the
// tool's style, made on first use and kept until the process ends.
#pragma once

void EnsureApplication();
