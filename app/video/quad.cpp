#include "quad.h"

#include <QOpenGLShaderProgram>

namespace {

constexpr GLfloat kPositions[] = {1, -1, -1, -1, 1, 1, -1, 1};
constexpr GLfloat kTexcoords[] = {1, 0, 0, 0, 1, 1, 0, 1};
constexpr GLfloat kFlippedTexcoords[] = {1, 1, 0, 1, 1, 0, 0, 0};

void fill(QOpenGLBuffer& buffer, const GLfloat* data, int bytes) {
    buffer.create();
    buffer.bind();
    buffer.allocate(data, bytes);
}

} // namespace

void Quad::create(bool flipRows) {
    fill(positions, kPositions, sizeof(kPositions));
    fill(texcoords, flipRows ? kFlippedTexcoords : kTexcoords, sizeof(kTexcoords));
}

void Quad::attach(QOpenGLShaderProgram& program) {
    program.enableAttributeArray(0);
    program.enableAttributeArray(1);
    positions.bind();
    program.setAttributeBuffer(0, GL_FLOAT, 0, 2);
    texcoords.bind();
    program.setAttributeBuffer(1, GL_FLOAT, 0, 2);
    texcoords.release();
}

void Quad::destroy() {
    positions.destroy();
    texcoords.destroy();
}
