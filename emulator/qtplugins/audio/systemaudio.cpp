#include "systemaudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

namespace quendral::emulator {

namespace {

const QString kDefaultKey = QStringLiteral("default");

} // namespace

SystemAudio::SystemAudio(const QObject* self)
    : self_(self) {}

QAudioSystemFactoryInterface* SystemAudio::factory() {
    std::call_once(searched_, [this] { find(); });
    return factory_;
}

QByteArray SystemAudio::defaultDevice(QAudio::Mode mode) {
    auto* system = factory();
    if (system == nullptr) {
        return {};
    }
    if (extension_ != nullptr) {
        return extension_->defaultDevice(mode);
    }
    const auto devices = system->availableDevices(mode);
    return devices.isEmpty() ? QByteArray() : devices.first();
}

void SystemAudio::find() {
    // The same search Qt makes, in the same order; Qt has loaded these libraries already, so the
    // loaders hand out the instances Qt would have used.
    for (const auto& path : QCoreApplication::libraryPaths()) {
        const QDir directory(path + QStringLiteral("/audio"));
        for (const auto& file : directory.entryInfoList(QDir::Files)) {
            QPluginLoader loader(file.absoluteFilePath());
            const auto metaData = loader.metaData();
            if (metaData.value(QStringLiteral("IID")).toString() !=
                    QLatin1String(QAudioSystemFactoryInterface_iid) ||
                !metaData.value(QStringLiteral("MetaData"))
                     .toObject()
                     .value(QStringLiteral("Keys"))
                     .toArray()
                     .contains(kDefaultKey)) {
                continue;
            }
            QObject* instance = loader.instance();
            // Another copy of this plugin would hand every call back to us.
            if (instance == nullptr || instance == self_ ||
                instance->inherits(self_->metaObject()->className())) {
                continue;
            }
            factory_ = qobject_cast<QAudioSystemFactoryInterface*>(instance);
            if (factory_ != nullptr) {
                extension_ = qobject_cast<DefaultDeviceExtension*>(instance);
                return;
            }
        }
    }
}

} // namespace quendral::emulator
