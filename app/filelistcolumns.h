// The sub-items of a row of the main window's file list: the caption is the
// input file, and every row carries all 24 sub-items.
#pragma once

enum TFileListColumn {
    ColInputFile = -1,  // the caption
    ColDuration = 0,
    ColFileSize,
    ColOutputFile,  // output file name without folder
    ColProgress,
    ColFPS,
    ColCurrentTime,
    ColCurrentSize,
    ColTaskNumber,
    ColFormatKey,     // the stored selection
    ColComboIndices,  // six two-digit item indices
    ColVideoCodec,
    ColAudioCodec,
    ColAudioChannels,
    ColVideoTag,
    ColFileExt,
    ColFrameSize,
    ColVideoBitrate,
    ColFrameRate,
    ColAudioBitrate,
    ColAudioSampleRate,
    ColFrameAspectRatio,
    ColDisableVideo,
    ColTargetType,
    ColNormType,
};

inline constexpr int FileListSubItemCount = ColNormType + 1;
