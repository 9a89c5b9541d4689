#include "audiocontroller.h"

#include "audioinputmatcher.h"

#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioInput>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <optional>
#include <vector>

namespace {

constexpr int kSampleRateHz = 48000;
constexpr int kChannelCount = 2;
constexpr int kSampleSizeBits = 32;
constexpr int kInputBufferBytes = 76800;   // 200 ms of the requested format
constexpr int kOutputBufferBytes = 153600; // 400 ms
constexpr qint64 kCopyChunkBytes = 76800;
// One search scans this many times in all.
constexpr int kSearchScans = 11;

QPointer<AudioController> controllerInstance;

QAudioFormat requestedFormat() {
    QAudioFormat format;
    format.setSampleRate(kSampleRateHz);
    format.setChannelCount(kChannelCount);
    format.setSampleSize(kSampleSizeBits);
    format.setSampleType(QAudioFormat::Float);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

QString describe(const QAudioDeviceInfo& device) {
    QString rates;
    for (const int rate : device.supportedSampleRates()) {
        if (!rates.isEmpty())
            rates += QLatin1String(", ");
        rates += QString::number(rate);
    }
    QString preferred;
    QDebug(&preferred).nospace() << device.preferredFormat();
    return QStringLiteral("%1 (sample rates: %2; preferred format: %3)")
        .arg(device.deviceName(), rates, preferred);
}

void logDevicesPresent(QAudio::Mode mode) {
    QString text = QStringLiteral("Devices present:");
    for (const QAudioDeviceInfo& device : QAudioDeviceInfo::availableDevices(mode))
        text += QLatin1Char('\n') + describe(device);
    qDebug().noquote() << text;
}

// The format both devices take, found from either side.
std::optional<QAudioFormat> commonFormat(const QAudioDeviceInfo& input,
                                         const QAudioDeviceInfo& output) {
    const auto supportedByBoth = [&](const QAudioFormat& format) {
        return input.isFormatSupported(format) && output.isFormatSupported(format);
    };
    const QAudioFormat outputSide = output.nearestFormat(input.nearestFormat(requestedFormat()));
    if (supportedByBoth(outputSide))
        return outputSide;
    const QAudioFormat inputSide = input.nearestFormat(output.nearestFormat(requestedFormat()));
    if (supportedByBoth(inputSide))
        return inputSide;
    return std::nullopt;
}

} // namespace

// Everything audio, on the worker thread. Only the running flag is touched from elsewhere.
class AudioController::Impl : public QObject {
    Q_OBJECT
public:
    explicit Impl(std::chrono::milliseconds scanInterval);
    ~Impl() override;

    void setApplicationState(ApplicationState state);

    // The only calls made from the GUI thread.
    void stopRunning() { running_ = false; }
    bool isRunning() const { return running_; }

private:
    void findDevices();
    void startAudio();
    void pauseAudio();
    void stopAudio();
    void copyToOutput(const QPointer<QIODevice>& outputDevice);

    std::unique_ptr<QAudioInput> input_;
    std::unique_ptr<QAudioOutput> output_;
    QPointer<QIODevice> inputDevice_;
    ApplicationState appState_ = Initial;
    int retriesLeft_ = -1;
    // Cleared by the GUI thread at shutdown while the copy loop may be reading it.
    std::atomic<bool> running_{true};
    // One per worker rather than per process: a worker left running at shutdown may still copy
    // while its successor does.
    std::vector<char> copyBuffer_;
    QMetaObject::Connection copyConnection_;
    const std::chrono::milliseconds scanInterval_;
};

AudioController::Impl::Impl(std::chrono::milliseconds scanInterval)
    : copyBuffer_(kCopyChunkBytes)
    , scanInterval_(scanInterval) {}

AudioController::Impl::~Impl() {
    if (retriesLeft_ > 0)
        retriesLeft_ = 0;
    stopAudio();
    qCritical() << "Audio: stop all";
}

void AudioController::Impl::setApplicationState(ApplicationState state) {
    appState_ = state;
    if (state > NoHdmiSource && (!input_ || !output_) && retriesLeft_ < 0 && running_) {
        stopAudio();
        findDevices();
    }
    switch (state) {
    case NoDevice:
    case NoHdmiSource:
        stopAudio();
        break;
    case DeviceInUse:
    case Paused:
    case Pausing:
    case Starting:
        pauseAudio();
        break;
    case Sharing:
        startAudio();
        break;
    case Initial:
        break;
    }
}

void AudioController::Impl::findDevices() {
    if (retriesLeft_ < 0)
        retriesLeft_ = kSearchScans - 1;

    const AudioInputMatcher matcher;
    std::optional<QAudioDeviceInfo> inputInfo;
    for (const QAudioDeviceInfo& device : QAudioDeviceInfo::availableDevices(QAudio::AudioInput)) {
        if (matcher.matches(device.deviceName())) {
            inputInfo = device;
            retriesLeft_ = -1;
            qCritical().noquote() << "Audio: Input Device:" << describe(device);
            break;
        }
    }

    --retriesLeft_;
    if (retriesLeft_ >= 0) {
        qDebug() << "Audio: Input device not initialized. Retry attempts left:" << retriesLeft_ + 1;
        QTimer::singleShot(scanInterval_, this, [this] { findDevices(); });
        return;
    }
    if (!inputInfo) {
        qCritical() << "Audio: Input device not found";
        logDevicesPresent(QAudio::AudioInput);
        return;
    }

    const QAudioDeviceInfo outputInfo = QAudioDeviceInfo::defaultOutputDevice();
    if (!outputInfo.isNull()) {
        qCritical().noquote() << "Audio: Output Device:" << describe(outputInfo);
    } else {
        qCritical() << "Audio: Default Output device not found";
        logDevicesPresent(QAudio::AudioOutput);
        stopAudio();
        return;
    }

    const std::optional<QAudioFormat> format = commonFormat(*inputInfo, outputInfo);
    if (!format) {
        qCritical() << "Audio: No matching audio format found.";
        stopAudio();
        return;
    }
    qDebug() << "Audio: Using Audio format:" << *format;
    input_ = std::make_unique<QAudioInput>(*inputInfo, *format);
    output_ = std::make_unique<QAudioOutput>(outputInfo, *format);
    if (appState_ == Sharing)
        startAudio();
}

void AudioController::Impl::startAudio() {
    if (input_) {
        if (!inputDevice_) {
            input_->setBufferSize(kInputBufferBytes);
            inputDevice_ = input_->start();
        }
        if (input_->state() != QAudio::ActiveState) {
            qCritical() << "Audio: resume input";
            input_->resume();
        }
    }
    if (output_ && inputDevice_) {
        qCritical() << "Audio: resume output";
        output_->setBufferSize(kOutputBufferBytes);
        const QPointer<QIODevice> outputDevice = output_->start();
        // An output may hand out its previous device again, or a new one while the old lives
        // on; either way the earlier connection has to go, or restarts pile up connections and
        // the oldest drains the input into a device nobody plays.
        QObject::disconnect(copyConnection_);
        if (!outputDevice) {
            qCritical() << "Audio: output did not start:" << output_->error();
            return;
        }
        copyConnection_ = connect(
            inputDevice_, &QIODevice::readyRead, outputDevice,
            [this, outputDevice] { copyToOutput(outputDevice); }, Qt::DirectConnection);
    }
}

void AudioController::Impl::copyToOutput(const QPointer<QIODevice>& outputDevice) {
    while (running_) {
        const qint64 bytesRead =
            inputDevice_ ? inputDevice_->read(copyBuffer_.data(), kCopyChunkBytes) : 0;
        if (bytesRead <= 0)
            break;
        // What the output does not take now is dropped: late sound is worse than a gap.
        if (outputDevice)
            outputDevice->write(copyBuffer_.data(), bytesRead);
    }
}

void AudioController::Impl::pauseAudio() {
    if (input_ && input_->state() == QAudio::ActiveState) {
        qCritical() << "Audio: pause input";
        input_->suspend();
    }
    if (output_ && output_->state() == QAudio::ActiveState) {
        qCritical() << "Audio: pause output";
        output_->stop();
    }
}

void AudioController::Impl::stopAudio() {
    if (retriesLeft_ > 0)
        retriesLeft_ = 0;
    inputDevice_.clear();
    if (input_) {
        qCritical() << "Audio: stop input";
        input_->stop();
        input_.reset();
    }
    if (output_) {
        qCritical() << "Audio: stop output";
        output_.reset();
    }
}

void AudioController::ImplRelease::operator()(Impl* impl) const {
    const std::chrono::milliseconds releaseDelay = delay;
    QMetaObject::invokeMethod(
        impl,
        [impl, releaseDelay] { QTimer::singleShot(releaseDelay, impl, &QObject::deleteLater); },
        Qt::QueuedConnection);
}

AudioController::AudioController(QObject* parent)
    : QObject(parent) {}

AudioController::~AudioController() {
    shutdownWorker();
}

AudioController* AudioController::instance() {
    if (!controllerInstance)
        controllerInstance = new AudioController;
    return controllerInstance;
}

void AudioController::setApplicationState(ApplicationState state) {
    if (state == Initial || state == NoDevice)
        shutdownWorker();
    else
        ensureWorker();
    if (!impl_)
        return;
    Impl* impl = impl_.get();
    QTimer::singleShot(0, impl, [impl, state] {
        // A worker that has been let go ignores what was still on its way to it.
        if (impl->isRunning())
            impl->setApplicationState(state);
    });
}

void AudioController::ensureWorker() {
    if (impl_)
        return;
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("Audio Share Thread"));
    thread_->start(QThread::TimeCriticalPriority);
    impl_ = std::unique_ptr<Impl, ImplRelease>(new Impl(timing_.scanInterval),
                                               ImplRelease{timing_.releaseDelay});
    impl_->moveToThread(thread_);
}

void AudioController::shutdownWorker() {
    if (!impl_)
        return;
    QThread* const thread = thread_;
    connect(impl_.get(), &QObject::destroyed, thread, &QThread::quit, Qt::DirectConnection);
    impl_->stopRunning();
    thread_ = nullptr;
    impl_.reset();

    if (!thread->wait(QDeadlineTimer(timing_.firstJoinWait))) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        thread->wait(QDeadlineTimer(timing_.escalationWait));
    }
    if (thread->isRunning()) {
        qCritical() << "Audio thread suspend issue";
        thread->quit();
        if (!thread->wait(QDeadlineTimer(timing_.escalationWait))) {
            qCritical() << "Audio thread quit issue";
            thread->terminate();
            thread->wait(QDeadlineTimer(timing_.escalationWait));
        }
    }
    if (thread->isRunning()) {
        qCritical() << "Audio thread still running - detouching";
        // Destroying a running QThread aborts the process; let it go, and reclaim it should it
        // ever end.
        thread->setParent(nullptr);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        return;
    }
    delete thread;
}

#include "audiocontroller.moc"
