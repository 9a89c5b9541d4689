attribute highp vec2 vertex_position;
attribute highp vec2 vertex_texcoord;
varying highp vec2 v_texcoord;

void main()
{
    gl_Position = vec4(vertex_position, 0.0, 1.0);
    v_texcoord = vec2(vertex_texcoord.x, 1.0 - vertex_texcoord.y);
}
