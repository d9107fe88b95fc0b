// Surfaces for tests that hold every backend to the same pixels.
#pragma once

#include <memory>

#include "draw/surface.h"
#include "platform/platform.h"

// A blank (all zero) w x h surface. Natively a SoftSurface over `colors`. On Windows a
// GdiSurface over a DIB section, so the same tests run on real GDI; GDI draws edges in
// the system's own 3D colours, so when `colors` reports other 3D colours than the
// system does, the surface is a SoftSurface there too. `colors` must outlive it.
std::unique_ptr<vantiq::Surface> MakeTestSurface(int w, int h, vantiq::SystemColors& colors);

// The same as a platform's DIB section: bottom-up rows, with Bits().
std::unique_ptr<vantiq::Surface> MakeTestDibSection(int w, int h, vantiq::SystemColors& colors);

// System colours that always get the GDI surface on Windows: the real GetSysColor
// there, natively a fixed set whose 3D colours are all different from each other and
// from black.
vantiq::SystemColors& HostSystemColors();

// True when `surface` draws through GDI.
bool IsGdiSurface(const vantiq::Surface& surface);
