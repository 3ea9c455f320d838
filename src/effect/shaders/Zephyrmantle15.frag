#version 120
uniform vec2 resolution;
uniform vec2 maxst;
uniform float inside;
uniform float outline;
uniform float blur;
uniform float cR;
uniform float cG;
uniform float cB;
uniform sampler2D distanceImage;
varying vec2 st;

// Grey level g holds the signed distance g - 204 in pixels from the slices'
// border: -204 deep inside, 50 at the outermost ring, 51 beyond every ring.
const float borderLevel = 204.0;
const float beyondRings = 51.0;

void main()
{
    // Stay inside the used region; the texture is the viewport padded, so one
    // texel spans maxst / resolution.
    vec2 halfTexel = 0.5 * maxst / max(resolution, vec2(1.0));
    vec2 at = clamp(st, halfTexel, max(maxst - halfTexel, halfTexel));
    float d = texture2D(distanceImage, at).r * 255.0 - borderLevel;

    // The band runs from "inside" x 204 px in to "outline" x 50 px out; its
    // feather lies beyond it, so the band itself always shows at full strength.
    float depth = clamp(inside, 0.0, 1.0) * borderLevel;
    float width = clamp(outline, 0.0, 1.0) * (beyondRings - 1.0);
    float feather = mix(1.0, 48.0, clamp(blur, 0.0, 1.0));
    // Everything past the last ring reads as 51, so the outer fade must be over by then.
    float outerEnd = min(width + feather, beyondRings);
    float coverage = smoothstep(-depth - feather, -depth, d)
                   * (1.0 - smoothstep(width, outerEnd, d));

    // Premultiplied: hosts composite the transparent surround correctly.
    gl_FragColor = vec4(vec3(cR, cG, cB) * coverage, coverage);
}
