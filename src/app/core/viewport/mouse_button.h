#pragma once
// The mouse buttons the images hand on, as plain values.

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
