# Turns the roff source of a manual page into its plain words for the
# benchmark corpora: comments, macro definitions and requests that carry no
# text go, other macro calls keep their arguments, and font, size and string
# escapes are dropped (a few special characters become their letters).
# Not a formatter: a line's breaks and spacing stay as in the source.
# comments
/^[.'][[:space:]]*\\"/d
/^\\"/d
# macro definitions: .de NAME ... ..
/^[.'][[:space:]]*\(de\|de1\|am\|ig\)\b/,/^\.\.$/d
# requests that carry no text
/^[.'][[:space:]]*\(if\|ie\|el\|ds\|nr\|tr\|rm\|rr\|so\|ft\|ps\|vs\|in\|ti\|ll\|ne\|sp\|br\|na\|ad\|nh\|hy\|hw\|fi\|nf\|ta\|tc\|ce\|bp\|ev\|mk\|rt\|ns\|rs\|cc\|c2\|ec\|eo\|lf\|pc\|po\|pl\|wh\|ch\|it\|tm\|ab\|ex\|mso\|do\|de\|als\|ss\|cs\|bd\|fam\|fp\|ftr\|char\|fchar\|TH\|Dd\|Dt\|Os\|PD\|UE\|ME\|RE\|RS\|TS\|TE\|EX\|EE\|IX\|Vb\|Ve\|hc\|lt\|nm\|nn\|mc\|fl\|sy\|pso\|pm\|pev\|open\|write\|close\|while\|break\|continue\|return\|shift\|length\|substring\|index\|chop\|asciify\|unformat\|backtrace\|warn\|warnscale\|cp\|psbb\|kern\|linetabs\|evc\|hcode\|hla\|hlm\|hpf\|hpfa\|hym\|hys\|trf\|tkf\|sty\|fcolor\|gcolor\|defcolor\|ptr\|pnr\|nroff\|troff\|opena\|output\|composite\|schar\|special\|fspecial\|fzoom\|vpt\|spreadwarn\|trin\|trnt\|tl\|ul\|cu\|uf\|lg\|em\|blm\|lsm\|ecs\|ecr\|ds1\|as\|as1\|class\|cflags\|dei\|dei1\|ami\|ami1\|rn\|rj\|di\|da\|box\|boxa\|dt\|itc\|nop\|pi\|ig\)\b/d
# other macro calls: keep their arguments
s/^[.'][[:space:]]*[A-Za-z][A-Za-z0-9]*[[:space:]]*//
s/^[.'][[:space:]]*$//
# escapes
s/\\f\[[^]]*\]//g
s/\\f([A-Za-z0-9][A-Za-z0-9]//g
s/\\f[A-Za-z0-9]//g
s/\\s[+-]\{0,1\}[0-9]//g
s/\\s\[[^]]*\]//g
s/\\\*\[[^]]*\]//g
s/\\\*(..//g
s/\\\*.//g
s/\\(aq/'/g
s/\\(lq/"/g
s/\\(rq/"/g
s/\\(em/--/g
s/\\(en/-/g
s/\\(bu/*/g
s/\\(co/(c)/g
s/\\(:a/ä/g
s/\\(:o/ö/g
s/\\(:u/ü/g
s/\\(:A/Ä/g
s/\\(:O/Ö/g
s/\\(:U/Ü/g
s/\\(ss/ß/g
s/\\(..//g
s/\\\[[^]]*\]//g
s/\\[kgnmMVYz]\[[^]]*\]//g
s/\\[kgnmMVYz]([a-zA-Z0-9][a-zA-Z0-9]//g
s/\\[kgnmMVYz][a-zA-Z0-9]//g
s/\\[hvwlLDoxbNRSXZ]'[^']*'//g
s/\\e/\\/g
s/\\-/-/g
s/\\[&|^%c:!}{)/,~0 acdeprtu"'`]//g
