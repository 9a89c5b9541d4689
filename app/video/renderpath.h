#pragma once

#include <QString>

// How the camera picture reaches the window. A software OpenGL rasterizer spends several
// full-frame passes on each picture (conversion, scaled draw, composition into the window);
// without a GPU the CPU converts and scales once into an image the window system copies.
enum class RenderPath { OpenGL, Raster };

struct RenderPathChoice {
    RenderPath path = RenderPath::OpenGL;
    // The log line that says which path was chosen and why.
    QString reason;
};

// The path for an OpenGL renderer string (empty: no OpenGL context could be made) and whether
// software OpenGL was asked for on the command line.
RenderPathChoice chooseRenderPath(const QString& renderer, bool softwareRequested);

// This process's choice, made on first use and logged once: CASTWELL_RENDER_PATH (opengl or
// raster) when set, else by the renderer of the current OpenGL context or of a throw-away one,
// which needs a QGuiApplication.
const RenderPathChoice& renderPath();
