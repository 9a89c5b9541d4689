// Whether this installation can show a real device's picture: Qt Multimedia must find a service
// for the camera, and GStreamer the element through which that backend reads V4L2 devices.
// Without a device there is nothing to open, so the two are asked for, not a picture.
// Exit status 0 when both are there, 1 otherwise.
#include <QCamera>
#include <QCoreApplication>

#include <gst/gst.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    // A camera object whose service no plugin could create reports the service missing; one that
    // has its service but no device reports a resource error instead.
    const bool service = QCamera().availability() != QMultimedia::ServiceMissing;

    gst_init(&argc, &argv);
    GstElementFactory* const videoSource = gst_element_factory_find("v4l2src");
    const bool source = videoSource != nullptr;
    if (videoSource)
        gst_object_unref(videoSource);

    std::printf("camera service: %s\nV4L2 video source: %s\n", service ? "found" : "missing",
                source ? "found" : "missing");
    return service && source ? 0 : 1;
}
