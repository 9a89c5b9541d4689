#pragma once

#include <QOpenGLBuffer>

// The full-viewport triangle strip both drawing passes use.
struct Quad {
    QOpenGLBuffer positions{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer texcoords{QOpenGLBuffer::VertexBuffer};

    // Creates and fills both buffers (texture rows flipped when `flipRows`).
    void create(bool flipRows = false);
    // Points attribute 0 at the positions and 1 at the texture coordinates of this quad.
    void attach(class QOpenGLShaderProgram& program);
    void destroy();
};
