function [ax, h] = talvern_nyquist(varargin)
%TALVERN_NYQUIST  Plot the complex transfer in the complex plane.
%
%   talvern_nyquist(file)
%   talvern_nyquist(f, db, phase)
%   [ax, h] = talvern_nyquist(...)
%
%   Computes h = 10.^(db/20) .* exp(1i*phase*pi/180) at each frequency and
%   opens a new figure plotting real(h) on the horizontal axis against
%   imag(h) on the vertical axis, with equal axis scales, a grid and the
%   critical point -1 + 0i marked. file is a 3-column gain export read with
%   talvern_read; db is the gain in dB and phase in degrees. ax is the axes
%   handle and h the complex values plotted. The frequencies are not drawn.
%
%   Example:
%     talvern_nyquist('loop.dat');
%     [f, db, ph] = talvern_read('loop.dat');
%     talvern_nyquist(f, db, ph);
%
%   See also TALVERN_COMPLEX, TALVERN_BODE.

[~, db, phase] = data_input('talvern_nyquist', false, varargin{:});
h = talvern_complex(db, phase, 'db');
figure('Name', 'Nyquist');
plot(real(h), imag(h), '-', -1, 0, 'r+');
axis equal;
grid on;
xlabel('Real');
ylabel('Imaginary');
ax = gca;
if nargout == 0
    clear ax;
end
end
