#pragma once

// Small builders for hand-made log files and log lists.
#include <QByteArray>
#include <QtEndian>
#include <cstring>

#include "files/logfile.h"

inline QByteArray le32(qint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray leDouble(double v) {
    QByteArray b(8, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray fileHeader(const char tag[4], quint32 version, qint32 count) {
    return QByteArray(tag, 4) + le32(qint32(version)) + le32(count);
}

/// A text field of the given size: the text, then zeros.
inline QByteArray textField(const QByteArray& text, int size) {
    QByteArray b = text.left(size);
    b.append(QByteArray(size - b.size(), '\0'));
    return b;
}

inline QByteArray sampleBytes(double altitude, bool autoStop = false, qint32 autoStopTime = 0,
                              double sampleNo = 0) {
    return leDouble(sampleNo) + leDouble(altitude) + QByteArray(1, char(autoStop ? 1 : 0)) +
           QByteArray(3, '\0') + le32(autoStopTime);
}

inline TLogSample sample(double altitude, bool autoStop = false, qint32 autoStopTime = 0) {
    TLogSample s;
    s.Altitude = altitude;
    s.AutoStop = autoStop ? 1 : 0;
    s.AutoStopTime = autoStopTime;
    return s;
}

inline TMeas logOf(std::initializer_list<double> altitudes, qint32 period = 1000) {
    TMeas log;
    log.SamplePeriod = period;
    for (double a : altitudes) log.Samples.push_back(sample(a));
    return log;
}

/// Fields of a version-5..7 per-log record, 293 bytes.
struct RecordFields {
    qint32 index = 0;
    qint32 sampleCount = 0;
    QByteArray name;
    qint32 period = 1000;
    quint32 chartColor = 0;
    quint32 backColor = 0;
    QByteArray imageFile;
    qint32 imageLevel = 0;
    qint32 zoomRect[4] = {0, 0, 0, 0};
    quint8 lockZoom = 0;
    qint32 zoomLevel = -1;
    qint32 viewFirst = 0;
    qint32 viewLast = 0;
    quint8 chartType = 0;
    double baseAlt = 0;
};

inline QByteArray recordBytes(const RecordFields& f) {
    QByteArray b = le32(f.index) + le32(f.sampleCount) + textField(f.name, 30) + le32(f.period) +
                   le32(qint32(f.chartColor)) + le32(qint32(f.backColor)) + textField(f.imageFile, 201) +
                   le32(f.imageLevel);
    for (qint32 z : f.zoomRect) b += le32(z);
    b += QByteArray(1, char(f.lockZoom)) + le32(f.zoomLevel) + le32(f.viewFirst) + le32(f.viewLast) +
         QByteArray(1, char(f.chartType)) + leDouble(f.baseAlt);
    return b;
}
