// avutil entry points.
#pragma once

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
#include <libavutil/time.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVUTIL_ENTRIES(X)   \
    X(av_audio_fifo_alloc)         \
    X(av_audio_fifo_free)          \
    X(av_audio_fifo_read)          \
    X(av_audio_fifo_size)          \
    X(av_audio_fifo_write)         \
    X(av_channel_layout_compare)   \
    X(av_channel_layout_copy)      \
    X(av_channel_layout_default)   \
    X(av_channel_layout_from_mask) \
    X(av_channel_layout_uninit)    \
    X(av_compare_ts)               \
    X(av_dict_copy)                \
    X(av_dict_count)               \
    X(av_dict_free)                \
    X(av_dict_get)                 \
    X(av_dict_set)                 \
    X(av_find_nearest_q_idx)       \
    X(av_frame_alloc)              \
    X(av_frame_copy)               \
    X(av_frame_copy_props)         \
    X(av_frame_free)               \
    X(av_frame_get_buffer)         \
    X(av_frame_is_writable)        \
    X(av_frame_make_writable)      \
    X(av_frame_move_ref)           \
    X(av_frame_ref)                \
    X(av_frame_unref)              \
    X(av_free)                     \
    X(av_freep)                    \
    X(av_gcd)                      \
    X(av_get_bytes_per_sample)     \
    X(av_get_picture_type_char)    \
    X(av_get_pix_fmt)              \
    X(av_get_pix_fmt_name)         \
    X(av_get_pix_fmt_string)       \
    X(av_get_sample_fmt)           \
    X(av_get_sample_fmt_name)      \
    X(av_get_sample_fmt_string)    \
    X(av_gettime)                  \
    X(av_image_copy)               \
    X(av_image_fill_arrays)        \
    X(av_image_fill_max_pixsteps)  \
    X(av_image_get_buffer_size)    \
    X(av_log)                      \
    X(av_log_get_level)            \
    X(av_log_set_callback)         \
    X(av_log_set_level)            \
    X(av_malloc)                   \
    X(av_mallocz)                  \
    X(av_opt_find2)                \
    X(av_opt_get)                  \
    X(av_opt_get_int)              \
    X(av_opt_set)                  \
    X(av_opt_set_bin)              \
    X(av_opt_set_int)              \
    X(av_parse_time)               \
    X(av_parse_video_rate)         \
    X(av_parse_video_size)         \
    X(av_pix_fmt_desc_get)         \
    X(av_realloc)                  \
    X(av_reduce)                   \
    X(av_rescale_q)                \
    X(av_rescale_q_rnd)            \
    X(av_sample_fmt_is_planar)     \
    X(av_samples_set_silence)      \
    X(av_set_options_string)       \
    X(av_strdup)                   \
    X(av_strerror)                 \
    X(av_usleep)

VELQUA_DECLARE_ENTRY_TABLE(avutil, VELQUA_AVUTIL_ENTRIES, FixupAVUtil, UnfixAVUtil)
