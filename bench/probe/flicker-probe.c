// Films a Wayland compositor's output for the compositor benchmark: one screenshot per repaint through
// weston's debug screenshooter, the play field below the header hashed, and neighbouring shots that hash
// alike counted as one screen. The field shown before the game is the blank field.
// Usage: flicker-probe LABEL SECONDS FIELD_TOP PICTURE_REFRESHES BLANK_REFRESHES [CUT]
// CUT: the runs at the end left out (1, the default: the one the end of filming cuts off; 2 where the filming
// goes on past the give-up, whose answer is the last run and which cut the screen before it short).
#define _GNU_SOURCE
#include "weston-screenshooter-client-protocol.h"

#include <wayland-client.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#define MAX_SHOTS 20000
#define MAX_LENGTH 1000

struct probe {
    struct wl_shm *shm;
    struct wl_output *output;
    struct weston_screenshooter *shooter;
    int width, height;
    int refresh; // mHz, as the output says
    int done;
};

static void output_geometry(void *data, struct wl_output *output, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t subpixel, const char *make, const char *model, int32_t transform)
{
}

static void output_mode(void *data, struct wl_output *output, uint32_t flags, int32_t width, int32_t height,
                        int32_t refresh)
{
    struct probe *probe = data;
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        probe->width = width;
        probe->height = height;
        probe->refresh = refresh;
    }
}

static void output_done(void *data, struct wl_output *output) {}
static void output_scale(void *data, struct wl_output *output, int32_t factor) {}

static const struct wl_output_listener output_listener = {
    .geometry = output_geometry, .mode = output_mode, .done = output_done, .scale = output_scale};

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    struct probe *probe = data;
    if (strcmp(interface, "wl_shm") == 0) {
        probe->shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, "wl_output") == 0 && !probe->output) {
        probe->output = wl_registry_bind(registry, name, &wl_output_interface, 2);
        wl_output_add_listener(probe->output, &output_listener, probe);
    } else if (strcmp(interface, "weston_screenshooter") == 0) {
        probe->shooter = wl_registry_bind(registry, name, &weston_screenshooter_interface, 1);
    }
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name) {}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static void shot_done(void *data, struct weston_screenshooter *shooter)
{
    ((struct probe *)data)->done = 1;
}

static const struct weston_screenshooter_listener shooter_listener = {shot_done};

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

// Every second row is enough: a symbol is many rows tall.
static uint64_t hash_field(const uint8_t *pixels, int stride, int top, int height)
{
    uint64_t hash = 0xcbf29ce484222325u;
    for (int y = top; y < height; y += 2) {
        const uint64_t *row = (const uint64_t *)(pixels + (size_t)y * (size_t)stride);
        for (int x = 0; x < stride / 8; ++x)
            hash = (hash ^ row[x]) * 0x100000001b3u;
    }
    return hash;
}

static int compare_doubles(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

static void print_lengths(const char *what, const int *lengths, int expected)
{
    int screens = 0;
    printf("  %s (should last %d):", what, expected);
    for (int length = 1; length < MAX_LENGTH; ++length) {
        if (lengths[length]) {
            printf(" %d x %d", lengths[length], length);
            screens += lengths[length];
        }
    }
    printf("%s\n", screens ? " refreshes" : " none seen");
}

int main(int argc, char **argv)
{
    if (argc != 6 && argc != 7) {
        fprintf(stderr, "usage: %s LABEL SECONDS FIELD_TOP PICTURE_REFRESHES BLANK_REFRESHES [CUT]\n", argv[0]);
        return 2;
    }
    const char *label = argv[1];
    const double seconds = atof(argv[2]);
    const int top = atoi(argv[3]);
    const int expected[2] = {atoi(argv[5]), atoi(argv[4])}; // [0] blank, [1] picture
    const int cut = argc == 7 ? atoi(argv[6]) : 1;

    struct probe probe = {0};
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "flicker-probe: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &probe);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    if (!probe.shm || !probe.output || !probe.shooter || probe.width <= top) {
        fprintf(stderr, "flicker-probe: the compositor offers no screenshooter (weston --debug) or no output\n");
        return 1;
    }
    weston_screenshooter_add_listener(probe.shooter, &shooter_listener, &probe);

    const int stride = probe.width * 4;
    const size_t size = (size_t)stride * (size_t)probe.height;
    const int fd = memfd_create("flicker-probe", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, (off_t)size) < 0) {
        perror("flicker-probe");
        return 1;
    }
    uint8_t *pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    struct wl_shm_pool *pool = wl_shm_create_pool(probe.shm, fd, (int32_t)size);
    struct wl_buffer *buffer =
        wl_shm_pool_create_buffer(pool, 0, probe.width, probe.height, stride, WL_SHM_FORMAT_XRGB8888);

    static double times[MAX_SHOTS];
    static uint64_t hashes[MAX_SHOTS];
    int shots = 0;
    const double start = now();
    while (shots < MAX_SHOTS && now() - start < seconds) {
        probe.done = 0;
        weston_screenshooter_take_shot(probe.shooter, probe.output, buffer);
        while (!probe.done)
            if (wl_display_dispatch(display) < 0) {
                fprintf(stderr, "flicker-probe: lost the display\n");
                return 1;
            }
        times[shots] = now();
        hashes[shots] = hash_field(pixels, stride, top, probe.height);
        ++shots;
    }
    if (shots < 3) {
        fprintf(stderr, "flicker-probe: too few shots\n");
        return 1;
    }

    // The probe asks for the next shot as soon as one is done. A gap of 1.4 refreshes or more, at the rate the
    // output says, may be a repaint the probe missed as well as a late one (a loaded headless output repaints
    // every 8 to 30 ms): the screen it falls in or beside may look a refresh short or long, and is not judged.
    // The median gap would not do: under load it grows with the late repaints and hides the missed ones.
    static double gaps[MAX_SHOTS];
    for (int i = 1; i < shots; ++i)
        gaps[i - 1] = times[i] - times[i - 1];
    qsort(gaps, (size_t)(shots - 1), sizeof gaps[0], compare_doubles);
    const double period = gaps[(shots - 1) / 2];
    const double said = probe.refresh > 0 ? 1000.0 / probe.refresh : 1 / 60.0;
    const double doubtful = 1.4 * said;
    int missed = 0;
    for (int i = 1; i < shots; ++i)
        missed += times[i] - times[i - 1] >= doubtful;

    // The runs of alike shots. The blank field comes back most often (it is also what shows before the game);
    // the screens counted run from picture 1, the first picture after a blank, to the one before the last cut
    // runs.
    static uint64_t run_hash[MAX_SHOTS];
    static int run_length[MAX_SHOTS];
    int runs = 0;
    for (int i = 0; i < shots; ++runs) {
        run_hash[runs] = hashes[i];
        run_length[runs] = 1;
        while (i + run_length[runs] < shots && hashes[i + run_length[runs]] == hashes[i])
            ++run_length[runs];
        i += run_length[runs];
    }
    uint64_t blank = run_hash[0];
    int most = 0;
    for (int r = 0; r < runs; ++r) {
        int count = 0;
        for (int other = 0; other < runs; ++other)
            count += run_hash[other] == run_hash[r];
        if (count > most) {
            most = count;
            blank = run_hash[r];
        }
    }
    int from = 1;
    while (from < runs && !(run_hash[from - 1] == blank && run_hash[from] != blank))
        ++from;

    // Each run's first shot, and whether a doubtful gap lies within it or at either edge.
    static int run_first[MAX_SHOTS];
    for (int r = 0, i = 0; r < runs; i += run_length[r], ++r)
        run_first[r] = i;
    static int lengths[2][MAX_LENGTH];
    int screens[2] = {0, 0}, exact[2] = {0, 0}, alternating = 1, previous = 0, judged = 0, judged_off = 0;
    for (int r = from; r < runs - cut; ++r) {
        const int picture = run_hash[r] != blank;
        const int length = run_length[r];
        int sure = run_first[r] > 0 && run_first[r] + length < shots;
        for (int i = run_first[r]; sure && i <= run_first[r] + length; ++i)
            sure = times[i] - times[i - 1] < doubtful;
        judged += sure;
        judged_off += sure && length != expected[picture];
        // The line bench/run-all.sh matches with the game's own judgement of the screen shown then.
        printf("probe-screen %.4f %d %d %d\n", times[run_first[r]], length - expected[picture], sure, picture);
        ++screens[picture];
        exact[picture] += length == expected[picture];
        ++lengths[picture][length < MAX_LENGTH ? length : MAX_LENGTH - 1];
        alternating &= picture != previous;
        previous = picture;
    }

    printf("%s: %d shots, one per %.2f ms repaint (median), %d gaps of 1.4 refreshes or more\n", label, shots,
           period * 1e3, missed);
    print_lengths("pictures", lengths[1], expected[1]);
    print_lengths("blanks", lengths[0], expected[0]);
    printf("[summary] compositor screens, %s: pictures %d of %d exactly %d refreshes, blanks %d of %d exactly %d, "
           "%s; repaint every %.2f ms, %d gaps of 1.4 refreshes or more\n",
           label, exact[1], screens[1], expected[1], exact[0], screens[0], expected[0],
           alternating ? "alternating" : "NOT alternating", period * 1e3, missed);
    // The line bench/run-all.sh sets beside the game's own record.
    printf("probe: screens %d, screens_off %d, judged %d, judged_off %d\n", screens[0] + screens[1],
           screens[0] + screens[1] - exact[0] - exact[1], judged, judged_off);
    return 0;
}
