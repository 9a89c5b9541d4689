#pragma once

#include <QString>

class QOpenGLShaderProgram;

// Builds a program from the camera widget's shader resources, binding vertex_position to
// attribute 0 and vertex_texcoord to 1, and sets the sampler "texture" to unit 0.
// Compile failures are logged; drawing goes on with whatever program results.
void buildShaderProgram(QOpenGLShaderProgram& program, const QString& vertexShader,
                        const QString& fragmentShader);

// A shader resource's text as this context's GLSL accepts it. The shaders carry no version
// line; fragment inputs declared with `in` become `varying`, which every GLSL version without
// a version line understands.
QByteArray shaderSource(const QString& resourcePath);
