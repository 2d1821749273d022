// The video filter graphs: decoded pictures turned upright by their
// stream's display matrix, and the filter path, where pictures go into a
// buffer source and pass crop, scale and the user's filters into a sink that
// gives the encoder's pixel format.
#include <algorithm>
#include <string_view>

#include "media/avfilterstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpegstreams.h"

namespace {

// One filter of the graph, linked after ALast; the new last filter or nil.
AVFilterContext* AddFilter(AVFilterGraph* AGraph, AVFilterContext* ALast, const char* AName,
                           const AnsiString& AArgs) {
    AVFilterContext* filter = nullptr;
    if (avfilter::avfilter_graph_create_filter(&filter, avfilter::avfilter_get_by_name(AName), AName,
                                               AArgs.c_str(), nullptr, AGraph) < 0 ||
        avfilter::avfilter_link(ALast, 0, filter, 0) < 0)
        return nullptr;
    return filter;
}

}  // namespace

Integer TCustomFFmpeg::ConfigureFilters(TAVInputStream& ist, TAVOutputStream& ost) {
    AVCodecContext* enc = ost.enc;
    const AVCodecContext* dec = ist.dec;
    ist.input_video_filter = ist.out_video_filter = nullptr;
    ist.graph.reset(avfilter::avfilter_graph_alloc());
    AVFilterGraph* graph = ist.graph.get();
    if (!graph) return -1;
    if (!ist.picref) ist.picref.reset(avutil::av_frame_alloc());
    if (!ist.picref) return -1;

    // The pictures come in upright already.
    const AVRational sar = ist.SampleAspect();
    const AVRational aspect = sar.num != 0 ? sar : AVRational{0, 1};
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    // Pictures go in with their times in microseconds.
    if (avfilter::avfilter_graph_create_filter(
            &source, avfilter::avfilter_get_by_name("buffer"), "src",
            FormatAnsi("video_size=%dx%d:pix_fmt=%d:time_base=1/%d:pixel_aspect=%d/%d",
                       {ist.Width(), ist.Height(), static_cast<Integer>(dec->pix_fmt), AV_TIME_BASE,
                        aspect.num, aspect.den})
                .c_str(),
            nullptr, graph) < 0)
        return -1;
    if (avfilter::avfilter_graph_create_filter(&sink, avfilter::avfilter_get_by_name("buffersink"), "out",
                                               nullptr, nullptr, graph) < 0)
        return -1;
    const AVPixelFormat formats[] = {enc->pix_fmt};
    if (avutil::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(formats), sizeof formats,
                               AV_OPT_SEARCH_CHILDREN) < 0)
        return -1;

    AVFilterContext* last = source;
    const Integer width = ist.Width() - Fframe_leftBand - Fframe_rightBand;
    const Integer height = ist.Height() - Fframe_topBand - Fframe_bottomBand;
    // The bands are cut away and what is left is scaled, whatever size the
    // encoder has.
    if (Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand != 0) {
        last = AddFilter(graph, last, "crop",
                         FormatAnsi("w=%d:h=%d:x=%d:y=%d", {width, height, Fframe_leftBand, Fframe_topBand}));
        if (!last) return -1;
    }
    if (width != enc->width || height != enc->height) {
        last = AddFilter(graph, last, "scale",
                         FormatAnsi("w=%d:h=%d:flags=%u", {enc->width, enc->height, Fsws_flags}));
        if (!last) return -1;
    }
    graph->scale_sws_opts = avutil::av_strdup(FormatAnsi("flags=%u", {Fsws_flags}).c_str());

    if (!Fvfilters.empty()) {
        AVFilterInOut* outputs = avfilter::avfilter_inout_alloc();
        AVFilterInOut* inputs = avfilter::avfilter_inout_alloc();
        Integer parsed = -1;
        if (outputs && inputs) {
            outputs->name = avutil::av_strdup("in");
            outputs->filter_ctx = last;
            outputs->pad_idx = 0;
            inputs->name = avutil::av_strdup("out");
            inputs->filter_ctx = sink;
            inputs->pad_idx = 0;
            parsed = avfilter::avfilter_graph_parse_ptr(graph, Fvfilters.c_str(), &inputs, &outputs, nullptr);
        }
        avfilter::avfilter_inout_free(&inputs);
        avfilter::avfilter_inout_free(&outputs);
        if (parsed < 0) return -1;
    } else if (avfilter::avfilter_link(last, 0, sink, 0) < 0) {
        return -1;
    }
    if (avfilter::avfilter_graph_config(graph, nullptr) < 0) return -1;

    enc->width = avfilter::av_buffersink_get_w(sink);
    enc->height = avfilter::av_buffersink_get_h(sink);
    const AVRational sinkAspect = avfilter::av_buffersink_get_sample_aspect_ratio(sink);
    if (sinkAspect.num != 0) enc->sample_aspect_ratio = ost.st->sample_aspect_ratio = sinkAspect;
    ist.input_video_filter = source;
    ist.out_video_filter = sink;
    return 0;
}

void TCustomFFmpeg::OpenFilters(TAVInputStream& ist, TAVOutputStream& ost) {
    FLastErrMsg.clear();
    if (ConfigureFilters(ist, ost) != 0)
        throw FFmpegException(FLastErrMsg.empty() ? String(u"Error opening filters!")
                                                  : u"Error opening filters: " + FLastErrMsg);
}

void TCustomFFmpeg::TurnUpright(TAVInputStream& ist) {
    AVFrame* frame = ist.frame.get();
    if (!ist.upright_graph || frame->width != ist.upright_width || frame->height != ist.upright_height ||
        frame->format != ist.upright_format) {
        // A graph for this size and format: made at the first picture and
        // again when the decoder's pictures change.
        ist.upright_in = ist.upright_out = nullptr;
        ist.upright_graph.reset(avfilter::avfilter_graph_alloc());
        AVFilterGraph* graph = ist.upright_graph.get();
        if (!ist.upright_frame) ist.upright_frame = NewFrame();
        AVFilterContext* source = nullptr;
        AVFilterContext* sink = nullptr;
        const AVRational sar =
            frame->sample_aspect_ratio.num != 0 ? frame->sample_aspect_ratio : AVRational{0, 1};
        bool made =
            graph &&
            avfilter::avfilter_graph_create_filter(
                &source, avfilter::avfilter_get_by_name("buffer"), "upright_in",
                FormatAnsi("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                           {frame->width, frame->height, frame->format, ist.st->time_base.num,
                            ist.st->time_base.den, sar.num, sar.den})
                    .c_str(),
                nullptr, graph) >= 0 &&
            avfilter::avfilter_graph_create_filter(&sink, avfilter::avfilter_get_by_name("buffersink"),
                                                   "upright_out", nullptr, nullptr, graph) >= 0;
        // "name=args,name,...": one filter after another.
        AVFilterContext* last = source;
        const std::string_view filters = ist.upright_filters;
        for (size_t start = 0; made && start < filters.size();) {
            const size_t end = std::min(filters.find(',', start), filters.size());
            const std::string_view step = filters.substr(start, end - start);
            const size_t equals = std::min(step.find('='), step.size());
            const AnsiString name(step.substr(0, equals));
            const AnsiString args(equals < step.size() ? step.substr(equals + 1) : std::string_view());
            last = AddFilter(graph, last, name.c_str(), args);
            made = last != nullptr;
            start = end + 1;
        }
        made = made && avfilter::avfilter_link(last, 0, sink, 0) >= 0 &&
               avfilter::avfilter_graph_config(graph, nullptr) >= 0;
        if (!made) {
            ist.upright_graph.reset();
            throw FFmpegException(u"Cannot turn the pictures of stream #%d.%d upright",
                                  {ist.file_index, ist.index});
        }
        ist.upright_in = source;
        ist.upright_out = sink;
        ist.upright_width = frame->width;
        ist.upright_height = frame->height;
        ist.upright_format = frame->format;
    }
    // One picture in, one out: the picture turned takes the decoded one's place.
    if (avfilter::av_buffersrc_add_frame_flags(ist.upright_in, frame, 0) < 0 ||
        avfilter::av_buffersink_get_frame(ist.upright_out, ist.upright_frame.get()) < 0)
        throw FFmpegException(u"Cannot turn the pictures of stream #%d.%d upright",
                              {ist.file_index, ist.index});
    avutil::av_frame_unref(frame);
    avutil::av_frame_move_ref(frame, ist.upright_frame.get());
}

Integer TCustomFFmpeg::GetFilteredPicture(TAVInputStream& ist, Int64& pts) {
    if (!ist.out_video_filter ||
        avfilter::av_buffersink_get_frame(ist.out_video_filter, ist.picref.get()) < 0)
        return -1;
    const Int64 stamp = ist.picref->pts;
    pts = stamp == AV_NOPTS_VALUE
              ? ist.pts
              : avutil::av_rescale_q(stamp, avfilter::av_buffersink_get_time_base(ist.out_video_filter),
                                     AV_TIME_BASE_Q);
    return 1;
}
