uniform sampler2D texture;
varying highp vec2 v_texcoord;

void main()
{
    gl_FragColor = vec4(texture2D(texture, v_texcoord).rgb, 1.0);
}
