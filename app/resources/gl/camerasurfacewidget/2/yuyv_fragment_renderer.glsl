// One texel holds a YUYV macropixel: r = Y0, g = U, b = Y1, a = V.
// BT.601 limited range, integer coefficients.
uniform highp sampler2D texture;
uniform highp vec2 dim;
in highp vec2 v_texcoord;

void main()
{
    highp vec4 yuv = texture2D(texture, v_texcoord) * 255.0;
    highp float y = mix(yuv.x, yuv.z, mod(floor(v_texcoord.x * dim.x), 2.0));
    highp float uu = yuv.y - 128.0;
    highp float vv = yuv.w - 128.0;
    highp float rv = 409.0 * vv + 128.0;
    highp float guv = 100.0 * uu + 208.0 * vv + 128.0;
    highp float bu = 516.0 * uu + 128.0;
    highp float yy = (y - 16.0) * 298.0;
    highp vec3 rgb = vec3(yy + rv, yy - guv, yy + bu) / 256.0;
    gl_FragColor = vec4(clamp(rgb / 255.0, 0.0, 1.0), 1.0);
}
