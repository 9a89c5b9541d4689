#include "shaderprogram.h"

#include <QDebug>
#include <QFile>
#include <QOpenGLShaderProgram>

// The shaders live in a static library; nothing else would pull their resource in.
static void registerShaderResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(shaders);
        return true;
    }();
    Q_UNUSED(registered)
}

namespace {

const QString kShaderDirectory = QStringLiteral(":/gl/camerasurfacewidget/2/");

} // namespace

QByteArray shaderSource(const QString& resourcePath) {
    registerShaderResources();
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray source;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.startsWith("in "))
            line.replace(0, 3, "varying ");
        source += line;
    }
    return source;
}

void buildShaderProgram(QOpenGLShaderProgram& program, const QString& vertexShader,
                        const QString& fragmentShader) {
    program.create();
    if (!program.addShaderFromSourceCode(
            QOpenGLShader::Vertex,
            shaderSource(kShaderDirectory + vertexShader + QStringLiteral(".glsl"))))
        qDebug() << "Vertex Shader error:" << program.log().toLocal8Bit().constData();
    if (!program.addShaderFromSourceCode(
            QOpenGLShader::Fragment,
            shaderSource(kShaderDirectory + fragmentShader + QStringLiteral(".glsl"))))
        qDebug() << "Fragment Shader error:" << program.log().toLocal8Bit().constData();
    program.bindAttributeLocation("vertex_position", 0);
    program.bindAttributeLocation("vertex_texcoord", 1);
    program.link();
    program.bind();
    program.setUniformValue("texture", 0);
}
