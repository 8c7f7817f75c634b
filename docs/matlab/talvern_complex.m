function h = talvern_complex(a, phase, scale)
%TALVERN_COMPLEX  Complex values from a magnitude and a phase in degrees.
%
%   h = talvern_complex(db, phase)            gain in dB
%   h = talvern_complex(a, phase, 'db')       the same
%   h = talvern_complex(a, phase, 'linear')   a is a plain magnitude, e.g.
%                                             an impedance in ohms
%
%   Returns h = m .* exp(1i * phase * pi / 180), where m = 10.^(db / 20)
%   for 'db' and m = a for 'linear'. a and phase have the same size (or one
%   is a scalar); h has that size.
%
%   Example:
%     [f, db, ph] = talvern_read('filter.dat');
%     h = talvern_complex(db, ph);              % complex transfer
%     [f, z, ph] = talvern_read('coil.dat');    % an impedance export
%     z = talvern_complex(z, ph, 'linear');     % complex impedance, ohms
%
%   See also TALVERN_NYQUIST, TALVERN_FIT_SERIES.

if nargin < 2
    error('talvern_complex: usage is talvern_complex(a, phase) or talvern_complex(a, phase, ''db''|''linear'')');
end
if nargin < 3
    scale = 'db';
end
if ~ischar(scale)
    error('talvern_complex: the scale must be ''db'' or ''linear''');
end
if ~isnumeric(a) || ~isreal(a) || ~isnumeric(phase) || ~isreal(phase)
    error('talvern_complex: the magnitude and the phase must be real numbers');
end
if ~isequal(size(a), size(phase)) && numel(a) ~= 1 && numel(phase) ~= 1
    error('talvern_complex: the magnitude (%s) and the phase (%s) must have the same size', ...
          size_text(a), size_text(phase));
end
switch lower(scale)
    case 'db'
        m = 10 .^ (double(a) / 20);
    case 'linear'
        m = double(a);
    otherwise
        error('talvern_complex: unknown scale ''%s''; use ''db'' or ''linear''', scale);
end
h = m .* exp(1i * double(phase) * pi / 180);
end

function s = size_text(x)
s = sprintf('%dx', size(x));
s = s(1:end - 1);
end
